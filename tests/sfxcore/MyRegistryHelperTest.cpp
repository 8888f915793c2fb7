#include <gtest/gtest.h>

#include <string>

#include "MyRegistryHelper.h"

namespace {

const char kTestRoot[] = "Software\\BrennicorSfxcoreTest";

void MakeKey(const std::string& path, const char* defaultValue) {
  HKEY key;
  ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                           &key, nullptr));
  if (defaultValue)
    RegSetValueExA(key, "", 0, REG_SZ, reinterpret_cast<const BYTE*>(defaultValue), DWORD(strlen(defaultValue) + 1));
  RegCloseKey(key);
}

bool KeyExists(const std::string& path) {
  HKEY key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

TEST(MyRegistryHelper, DeletesAThreeLevelKeyRecursively) {
  const std::string root = kTestRoot;
  MakeKey(root + "\\Top\\A1\\B1\\C1", "deep");
  MakeKey(root + "\\Top\\A1\\B2", nullptr);
  MakeKey(root + "\\Top\\A2\\B3\\C2", nullptr);
  MakeKey(root + "\\Top", "top value");
  MakeKey(root + "\\Keep", nullptr);

  CMyRegistryHelper helper;
  EXPECT_STREQ("top value", helper.ReadStringValue(HKEY_CURRENT_USER, (root + "\\Top").c_str(), "", -1));
  EXPECT_STREQ("", helper.ReadStringValue(HKEY_CURRENT_USER, (root + "\\Top").c_str(), "", REG_DWORD));
  EXPECT_STREQ("", helper.ReadStringValue(HKEY_CURRENT_USER, (root + "\\Top").c_str(), nullptr, -1));

  HKEY opened = nullptr;
  ASSERT_EQ(1, helper.OpenOrCloseKey(HKEY_CURRENT_USER, root.c_str(), &opened, 0));
  // Not recursive: a key with subkeys stays. An empty name deletes nothing.
  EXPECT_EQ(0, helper.DeleteKey(opened, "Top", 0));
  EXPECT_TRUE(KeyExists(root + "\\Top"));
  EXPECT_EQ(0, helper.DeleteKey(opened, "", 1));
  EXPECT_EQ(0, helper.DeleteKey(opened, "", 0));
  EXPECT_TRUE(KeyExists(root + "\\Top\\A1\\B1\\C1"));
  EXPECT_TRUE(KeyExists(root + "\\Keep"));
  EXPECT_EQ(1, helper.DeleteKey(opened, "Top", 1));
  EXPECT_EQ(1, helper.OpenOrCloseKey(nullptr, nullptr, &opened, 1));

  EXPECT_FALSE(KeyExists(root + "\\Top"));
  EXPECT_TRUE(KeyExists(root + "\\Keep"));
  RegDeleteKeyA(HKEY_CURRENT_USER, (root + "\\Keep").c_str());
  RegDeleteKeyA(HKEY_CURRENT_USER, root.c_str());
}

TEST(MyRegistryHelper, LongValueNeverOverrunsTheBuffer) {
  const std::string root = kTestRoot;
  MakeKey(root, nullptr);
  HKEY key;
  ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, root.c_str(), 0, KEY_ALL_ACCESS, &key));
  const std::string exact(200, 'v');
  // Stored without a terminator: the reader must end the text itself.
  RegSetValueExA(key, "exact", 0, REG_SZ, reinterpret_cast<const BYTE*>(exact.data()), DWORD(exact.size()));
  const std::string longer(400, 'w');
  RegSetValueExA(key, "long", 0, REG_SZ, reinterpret_cast<const BYTE*>(longer.c_str()), DWORD(longer.size() + 1));
  RegCloseKey(key);

  EXPECT_EQ(exact, CMyRegistryHelper::ReadStringValue(HKEY_CURRENT_USER, root.c_str(), "exact", REG_SZ));
  EXPECT_LT(strlen(CMyRegistryHelper::ReadStringValue(HKEY_CURRENT_USER, root.c_str(), "long", -1)), 260u);
  RegDeleteKeyA(HKEY_CURRENT_USER, root.c_str());
}

}  // namespace
