#include <gtest/gtest.h>

#include <string>

#include "app/FoundItemList.h"

TEST(FoundItemList, ANameThatDoesNotFitItsRecordIsLeftOutWhole) {
  FoundItemList list;
  const std::string fits(kFoundItemRecordBytes - 1, 'a'), tooLong(kFoundItemRecordBytes, 'b');
  EXPECT_TRUE(list.Add(fits.c_str()));
  EXPECT_FALSE(list.Add(tooLong.c_str()));
  EXPECT_FALSE(list.Add(nullptr));
  ASSERT_EQ(1u, list.Items().size());
  EXPECT_EQ(fits, list.Items()[0]);
}

TEST(FoundItemList, EveryChangeStartsANewGeneration) {
  FoundItemList list;
  const unsigned start = list.Generation();
  list.Clear();
  const unsigned cleared = list.Generation();
  list.Add("readme.txt");
  EXPECT_NE(start, cleared);
  EXPECT_NE(cleared, list.Generation());
  const unsigned filled = list.Generation();
  list.Add(std::string(kFoundItemRecordBytes, 'x').c_str());
  EXPECT_EQ(filled, list.Generation()) << "a refused name changes nothing";
}
