#include <gtest/gtest.h>

#include "database/ConnectionSettings.h"

namespace zelk::db {
namespace {

TEST(ConnectionSettingsTest, FiveAttributesInOrder) {
    EXPECT_EQ(BuildConnectionString(),
              "Provider=Microsoft.Jet.OLEDB.4.0;Password=\"\";Data Source=Zelk.dll;"
              "Persist Security Info=True;Jet OLEDB:Database Password=Wx#7305");
}

TEST(ConnectionSettingsTest, AttributesAreReadBack) {
    const std::string text = BuildConnectionString();
    EXPECT_EQ(ConnectionAttribute(text, "Data Source"), "Zelk.dll");
    EXPECT_EQ(ConnectionAttribute(text, "jet oledb:database password"), "Wx#7305");
    EXPECT_EQ(ConnectionAttribute(text, "Password"), "");
    EXPECT_EQ(ConnectionAttribute(text, "Provider"), "Microsoft.Jet.OLEDB.4.0");
    EXPECT_EQ(ConnectionAttribute(text, "User ID"), std::nullopt);
}

TEST(ConnectionSettingsTest, AwkwardPathsAreQuoted) {
    for (const std::string path : {"/tmp/a;b/Zelk.dll", "/tmp/\"q\"/Zelk.dll", " lead.dll"}) {
        EXPECT_EQ(ConnectionAttribute(BuildConnectionString(path), "Data Source"), path);
        EXPECT_EQ(ConnectionAttribute(BuildConnectionString(path), "Persist Security Info"),
                  "True");
    }
}

}  // namespace
}  // namespace zelk::db
