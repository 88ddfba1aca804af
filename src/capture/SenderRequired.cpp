#include "SenderRequired.h"

namespace mldd {

Notice senderRequired() {
    return Notice{QStringLiteral("提取订单之前，请先设置发件人信息。\r\n"
                                 "可以用命令 mldd-cli profile save 保存发件人，"
                                 "例如：\r\nmldd-cli profile save --market 淘宝 --id 我的店铺 "
                                 "--name 姓名 --phone1 电话 --address 发货地址\r\n"
                                 "保存之后，再提取一次。"),
                  QStringLiteral("墨岚打单"), Notice::Icon::Exclamation, Notice::Buttons::Ok};
}

} // namespace mldd
