#include "WorkbenchFixture.h"

#include "workbench/ProfileEditing.h"
#include "workbench/SenderChoice.h"

#include <QSqlQuery>

using namespace mldd;
using namespace Qt::StringLiterals;

namespace {

const ProfileEditing::DefaultDesign kDesign = [] { return u"DEFAULT-DESIGN"_s; };

class ProfileEditingTest : public test::WorkbenchFixture {
protected:
    std::optional<Notice> save(const QString& marketplace, const QString& id,
                               const QString& address = u"北京市朝阳区建国路1号"_s,
                               const QString& name = u"张三"_s) {
        SenderProfile profile;
        profile.myIdh = id;
        profile.address = address;
        profile.name = name;
        return ProfileEditing::save(m_state, marketplace, profile, kDesign);
    }

    int rows() {
        QSqlQuery query(m_state.database->connection());
        query.exec(u"select count(*) from my_data"_s);
        query.next();
        return query.value(0).toInt();
    }

    void exec(const QString& sql) {
        QSqlQuery query(m_state.database->connection());
        ASSERT_TRUE(query.exec(sql));
    }
};

TEST_F(ProfileEditingTest, SavedProfileIsNamedByMarketplaceAndAccount) {
    ASSERT_FALSE(save(u"拍拍"_s, u"  abc "_s));
    ASSERT_FALSE(save(QString(), u"bare"_s));
    ASSERT_EQ(m_state.profiles.size(), 2);
    EXPECT_EQ(m_state.profiles[0].myIdh, u"拍拍:abc"_s);
    EXPECT_EQ(m_state.profiles[1].myIdh, u"bare"_s);
    // A new profile carries the default shipping-list design.
    EXPECT_EQ(m_state.profiles[0].faHuoSet, u"DEFAULT-DESIGN"_s);
    EXPECT_EQ(m_state.profiles[0].name, u"张三"_s);
}

TEST_F(ProfileEditingTest, EmptyIdOrAddressIsRefusedAndNothingStored) {
    for (const auto& [id, address] :
         {std::pair{u"   "_s, u"地址"_s}, std::pair{u"abc"_s, u" \t "_s}}) {
        const std::optional<Notice> refused = save(u"淘宝"_s, id, address);
        ASSERT_TRUE(refused);
        EXPECT_EQ(refused->text,
                  u"[发件人QQ/旺旺/ID]，[发件人地址或其他信息]，不能为空,请填完整再保存!"_s);
        EXPECT_EQ(refused->title, u"提示"_s);
        EXPECT_EQ(refused->icon, Notice::Icon::Exclamation);
    }
    EXPECT_EQ(rows(), 0);
}

TEST_F(ProfileEditingTest, SavingAnExistingIdEditsThatProfileAndKeepsItsDesign) {
    ASSERT_FALSE(save(u"淘宝"_s, u"abc"_s));
    exec(u"update my_data set FaHuoSet = 'MINE', KeySession = 'k'"_s);
    ASSERT_FALSE(save(u"淘宝"_s, u"abc"_s, u"新地址"_s, u"李四"_s));
    EXPECT_EQ(rows(), 1);
    ASSERT_EQ(m_state.profiles.size(), 1);
    EXPECT_EQ(m_state.profiles[0].name, u"李四"_s);
    EXPECT_EQ(m_state.profiles[0].address, u"新地址"_s);
    EXPECT_EQ(m_state.profiles[0].faHuoSet, u"MINE"_s);
    EXPECT_EQ(m_state.profiles[0].keySession, u"k"_s);
}

TEST_F(ProfileEditingTest, ValuesAreStoredLiterallyWithinTheirColumns) {
    ASSERT_FALSE(save(QString(), u"O'Neil"_s, u"x'); drop table my_data;--"_s, QString(50, u'名')));
    EXPECT_EQ(m_state.profiles.value(0).myIdh, u"O'Neil"_s);
    EXPECT_EQ(m_state.profiles.value(0).address, u"x'); drop table my_data;--"_s);

    // Texts as long as an import stores in an order are kept whole; a phone number is not text.
    ASSERT_FALSE(save(QString(), u"long"_s, QString(10000, u'路'), QString(10000, u'名')));
    EXPECT_EQ(m_state.profiles.value(1).address, QString(10000, u'路'));
    EXPECT_EQ(m_state.profiles.value(1).name, QString(10000, u'名'));
    SenderProfile phone;
    phone.myIdh = u"phone"_s;
    phone.address = u"路"_s;
    phone.phone1 = QString(101, u'1');
    const std::optional<Notice> tooLong = ProfileEditing::save(m_state, QString(), phone, kDesign);
    ASSERT_TRUE(tooLong);
    EXPECT_TRUE(tooLong->text.contains(u"[my_phone1]超长101"_s));
    // The marketplace counts toward the ID's length.
    EXPECT_TRUE(save(u"阿里巴巴"_s, QString(46, u'a')));
    EXPECT_EQ(rows(), 2);
}

TEST_F(ProfileEditingTest, DeleteRemovesOnlyThatProfileAndOrdersKeepTheirSender) {
    ASSERT_FALSE(save(u"淘宝"_s, u"abc"_s));
    ASSERT_FALSE(save(QString(), u"abc"_s));
    Order order;
    order.orderSign = u"淘宝:1"_s;
    order.myId = u"淘宝:abc"_s;
    const qint64 id = store({order}).value(0);

    ASSERT_FALSE(ProfileEditing::remove(m_state, u"淘宝"_s, u" abc "_s, kDesign));
    ASSERT_EQ(m_state.profiles.size(), 1);
    EXPECT_EQ(m_state.profiles[0].myIdh, u"abc"_s);
    EXPECT_EQ(this->order(id).myId, u"淘宝:abc"_s);

    const std::optional<Notice> none =
        ProfileEditing::remove(m_state, u"淘宝"_s, u"abc"_s, kDesign);
    ASSERT_TRUE(none);
    EXPECT_TRUE(none->text.contains(u"淘宝:abc"_s));
    EXPECT_EQ(rows(), 1);
}

TEST_F(ProfileEditingTest, LoadingGivesTheDefaultDesignToProfilesWithout) {
    exec(QStringLiteral("insert into my_data (my_idh, FaHuoSet, KeySession) values "
                        "('a', NULL, NULL), ('b', '', 'x'), ('c', 'OWN', NULL)"));
    ProfileEditing::reload(m_state, kDesign);
    ASSERT_EQ(m_state.profiles.size(), 3);
    EXPECT_EQ(m_state.profiles[0].faHuoSet, u"DEFAULT-DESIGN"_s);
    EXPECT_EQ(m_state.profiles[1].faHuoSet, u"DEFAULT-DESIGN"_s);
    EXPECT_EQ(m_state.profiles[2].faHuoSet, u"OWN"_s);
    EXPECT_EQ(m_state.profiles[0].keySession, QString());
    // Without a design provider an empty design stays empty, to be read as default later.
    ProfileEditing::reload(m_state, {});
    EXPECT_EQ(m_state.profiles[0].faHuoSet, QString());
}

TEST_F(ProfileEditingTest, SenderChoicesOutsideTheEditor) {
    const std::optional<Notice> firstUse = SenderChoice::firstUseQuestion(m_state);
    ASSERT_TRUE(firstUse);
    EXPECT_EQ(firstUse->buttons, Notice::Buttons::YesNo);
    ASSERT_FALSE(save(u"淘宝"_s, u"abc"_s));
    EXPECT_FALSE(SenderChoice::firstUseQuestion(m_state));
    EXPECT_TRUE(SenderChoice::checkPickedId(u" "_s));
    EXPECT_FALSE(SenderChoice::checkPickedId(u"abc"_s));

    Order order;
    order.orderSign = u"淘宝:1"_s;
    order.buyName = u"王五"_s;
    const qint64 id = store({order}).value(0);
    ASSERT_FALSE(SenderChoice::changeRowSender(m_state, id, u"淘宝:abc"_s));
    EXPECT_EQ(this->order(id).myId, u"淘宝:abc"_s);
    EXPECT_EQ(this->order(id).buyName, u"王五"_s);
    // An ID too long for the order's column is refused and the old sender stays.
    EXPECT_TRUE(SenderChoice::changeRowSender(m_state, id, QString(60, u'x')));
    EXPECT_EQ(this->order(id).myId, u"淘宝:abc"_s);
    EXPECT_TRUE(SenderChoice::changeRowSender(m_state, id + 100, u"淘宝:abc"_s));
}

} // namespace
