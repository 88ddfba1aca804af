#include "WorkbenchFixture.h"

#include "workbench/ProfileEditing.h"

#include <QSqlQuery>

using namespace mldd;

namespace {

const ProfileEditing::DefaultDesign kDesign = [] { return QStringLiteral("DEFAULT-DESIGN"); };

class ProfileEditingTest : public test::WorkbenchFixture {
protected:
    std::optional<Notice> save(const QString& marketplace, const QString& id,
                               const QString& address = QStringLiteral("北京市朝阳区建国路1号"),
                               const QString& name = QStringLiteral("张三")) {
        SenderProfile profile;
        profile.myIdh = id;
        profile.address = address;
        profile.name = name;
        return ProfileEditing::save(m_state, marketplace, profile, kDesign);
    }

    int rows() {
        QSqlQuery query(m_state.database->connection());
        query.exec(QStringLiteral("select count(*) from my_data"));
        query.next();
        return query.value(0).toInt();
    }

    void exec(const QString& sql) {
        QSqlQuery query(m_state.database->connection());
        ASSERT_TRUE(query.exec(sql));
    }
};

TEST_F(ProfileEditingTest, SavedProfileIsNamedByMarketplaceAndAccount) {
    ASSERT_FALSE(save(QStringLiteral("拍拍"), QStringLiteral("  abc ")));
    ASSERT_FALSE(save(QString(), QStringLiteral("bare")));
    ASSERT_EQ(m_state.profiles.size(), 2);
    EXPECT_EQ(m_state.profiles[0].myIdh, QStringLiteral("拍拍:abc"));
    EXPECT_EQ(m_state.profiles[1].myIdh, QStringLiteral("bare"));
    // A new profile carries the default shipping-list design.
    EXPECT_EQ(m_state.profiles[0].faHuoSet, QStringLiteral("DEFAULT-DESIGN"));
    EXPECT_EQ(m_state.profiles[0].name, QStringLiteral("张三"));
}

TEST_F(ProfileEditingTest, EmptyIdOrAddressIsRefusedAndNothingStored) {
    for (const auto& [id, address] : {std::pair{QStringLiteral("   "), QStringLiteral("地址")},
                                      std::pair{QStringLiteral("abc"), QStringLiteral(" \t ")}}) {
        const std::optional<Notice> refused = save(QStringLiteral("淘宝"), id, address);
        ASSERT_TRUE(refused);
        EXPECT_EQ(
            refused->text,
            QStringLiteral("[发件人QQ/旺旺/ID]，[发件人地址或其他信息]，不能为空,请填完整再保存!"));
        EXPECT_EQ(refused->title, QStringLiteral("提示"));
        EXPECT_EQ(refused->icon, Notice::Icon::Exclamation);
    }
    EXPECT_EQ(rows(), 0);
}

TEST_F(ProfileEditingTest, SavingAnExistingIdEditsThatProfileAndKeepsItsDesign) {
    ASSERT_FALSE(save(QStringLiteral("淘宝"), QStringLiteral("abc")));
    exec(QStringLiteral("update my_data set FaHuoSet = 'MINE', KeySession = 'k'"));
    ASSERT_FALSE(save(QStringLiteral("淘宝"), QStringLiteral("abc"), QStringLiteral("新地址"),
                      QStringLiteral("李四")));
    EXPECT_EQ(rows(), 1);
    ASSERT_EQ(m_state.profiles.size(), 1);
    EXPECT_EQ(m_state.profiles[0].name, QStringLiteral("李四"));
    EXPECT_EQ(m_state.profiles[0].address, QStringLiteral("新地址"));
    EXPECT_EQ(m_state.profiles[0].faHuoSet, QStringLiteral("MINE"));
    EXPECT_EQ(m_state.profiles[0].keySession, QStringLiteral("k"));
}

TEST_F(ProfileEditingTest, ValuesAreStoredLiterallyWithinTheirColumns) {
    ASSERT_FALSE(save(QString(), QStringLiteral("O'Neil"),
                      QStringLiteral("x'); drop table my_data;--"), QString(50, u'名')));
    EXPECT_EQ(m_state.profiles.value(0).myIdh, QStringLiteral("O'Neil"));
    EXPECT_EQ(m_state.profiles.value(0).address, QStringLiteral("x'); drop table my_data;--"));

    const std::optional<Notice> tooLong =
        save(QString(), QStringLiteral("long"), QString(256, u'路'), QString(51, u'名'));
    ASSERT_TRUE(tooLong);
    EXPECT_TRUE(tooLong->text.contains(QStringLiteral("[my_fjr]超长51")));
    EXPECT_TRUE(tooLong->text.contains(QStringLiteral("[my_address]超长256")));
    // The marketplace counts toward the ID's length.
    EXPECT_TRUE(save(QStringLiteral("阿里巴巴"), QString(46, u'a')));
    EXPECT_EQ(rows(), 1);
}

TEST_F(ProfileEditingTest, DeleteRemovesOnlyThatProfileAndOrdersKeepTheirSender) {
    ASSERT_FALSE(save(QStringLiteral("淘宝"), QStringLiteral("abc")));
    ASSERT_FALSE(save(QString(), QStringLiteral("abc")));
    Order order;
    order.orderSign = QStringLiteral("淘宝:1");
    order.myId = QStringLiteral("淘宝:abc");
    const qint64 id = store({order}).value(0);

    ASSERT_FALSE(
        ProfileEditing::remove(m_state, QStringLiteral("淘宝"), QStringLiteral(" abc "), kDesign));
    ASSERT_EQ(m_state.profiles.size(), 1);
    EXPECT_EQ(m_state.profiles[0].myIdh, QStringLiteral("abc"));
    EXPECT_EQ(this->order(id).myId, QStringLiteral("淘宝:abc"));

    const std::optional<Notice> none =
        ProfileEditing::remove(m_state, QStringLiteral("淘宝"), QStringLiteral("abc"), kDesign);
    ASSERT_TRUE(none);
    EXPECT_TRUE(none->text.contains(QStringLiteral("淘宝:abc")));
    EXPECT_EQ(rows(), 1);
}

TEST_F(ProfileEditingTest, LoadingGivesTheDefaultDesignToProfilesWithout) {
    exec(QStringLiteral("insert into my_data (my_idh, FaHuoSet, KeySession) values "
                        "('a', NULL, NULL), ('b', '', 'x'), ('c', 'OWN', NULL)"));
    ProfileEditing::reload(m_state, kDesign);
    ASSERT_EQ(m_state.profiles.size(), 3);
    EXPECT_EQ(m_state.profiles[0].faHuoSet, QStringLiteral("DEFAULT-DESIGN"));
    EXPECT_EQ(m_state.profiles[1].faHuoSet, QStringLiteral("DEFAULT-DESIGN"));
    EXPECT_EQ(m_state.profiles[2].faHuoSet, QStringLiteral("OWN"));
    EXPECT_EQ(m_state.profiles[0].keySession, QString());
    // Without a design provider an empty design stays empty, to be read as default later.
    ProfileEditing::reload(m_state, {});
    EXPECT_EQ(m_state.profiles[0].faHuoSet, QString());
}

} // namespace
