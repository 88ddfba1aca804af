#include "SchemaUpgrade.h"

#include <QSqlQuery>

namespace mldd {

const QStringList& schemaUpgradeStatements() {
    // Memo columns are TEXT here: SQLite would read a memo holding digits as a number.
    static const QStringList statements{
        QStringLiteral("ALTER   TABLE   order_data   ADD   COLUMN   NumSign  Double"),
        QStringLiteral("ALTER   TABLE   PrintItem_data   ADD   COLUMN   SelectKD  TEXT"),
        QStringLiteral("ALTER   TABLE   PrintItem_data   ADD   COLUMN   SoftSet varchar(255)"),
        QStringLiteral("ALTER   TABLE   PrintItem_data   ADD   COLUMN   Menu_set varchar(15)"),
        QStringLiteral("ALTER   TABLE   my_data   ADD   COLUMN   KeySession  TEXT"),
        QStringLiteral("ALTER   TABLE   my_data   ADD   COLUMN   FaHuoSet  TEXT"),
        QStringLiteral("CREATE TABLE Delivery_list(Delivery_Name varchar(50),Delivery_StartCode "
                       "varchar(50),Delivery_Taobao_code varchar(50),Delivery_Taobao_id "
                       "varchar(50),Delivery_Taobao_name varchar(50),Delivery_Paipai_code "
                       "varchar(50),Delivery_Paipai_id varchar(50),Delivery_Paipai_name "
                       "varchar(50))"),
        QStringLiteral("ALTER   TABLE   order_data   ADD   COLUMN   kd_code  varchar(50)"),
        QStringLiteral("ALTER   TABLE   order_data   ADD   COLUMN   Delivery_code  varchar(50)"),
        QStringLiteral("ALTER   TABLE   order_data   ADD   COLUMN   Seller_mem  TEXT"),
        QStringLiteral("ALTER   TABLE   order_data   ADD   COLUMN   wuliu_code  varchar(20)"),
        // The print switches without a print-item column of their own.
        QStringLiteral("ALTER TABLE PrintItem_data ADD COLUMN SYS_Date INTEGER DEFAULT 1"),
        QStringLiteral("ALTER TABLE PrintItem_data ADD COLUMN Goods_Simplify INTEGER DEFAULT 0"),
        QStringLiteral("ALTER TABLE PrintItem_data ADD COLUMN ORDER_DATA_buy_ly INTEGER DEFAULT 1"),
        QStringLiteral(
            "ALTER TABLE PrintItem_data ADD COLUMN ORDER_DATA_seller_mem INTEGER DEFAULT 1"),
        QStringLiteral("ALTER TABLE PrintItem_data ADD COLUMN Print_FaHuo INTEGER DEFAULT 0"),
    };
    return statements;
}

int upgradeSchema(QSqlDatabase& db) {
    int applied = 0;
    for (const QString& statement : schemaUpgradeStatements()) {
        QSqlQuery query(db);
        if (query.exec(statement))
            ++applied;
    }
    return applied;
}

} // namespace mldd
