// Tests of the order of the drives offered for the game disc.
#include "DriveList.h"
#include <gtest/gtest.h>

namespace {

std::string letters(const DriveList& list)
{
    std::string out;
    for (const DriveList::Drive& d : list.drives())
        out += d.letter;
    return out;
}

} // namespace

TEST(DriveList, CdromDrivesComeFirstThenTheRestInLetterOrder)
{
    DriveList list({{'Z', DriveList::fixed}, {'E', DriveList::cdrom}, {'C', DriveList::fixed},
                    {'A', DriveList::removable}, {'D', DriveList::cdrom}, {'N', DriveList::remote}});
    EXPECT_EQ("DEACNZ", letters(list));
    EXPECT_EQ("D:", list.firstCdrom());
}

TEST(DriveList, DrivesWithoutARootAreDroppedAndLettersUpperCased)
{
    DriveList list({{'c', DriveList::fixed}, {'X', DriveList::noRoot}, {'Y', DriveList::unknown}, {'?', DriveList::cdrom}});
    EXPECT_EQ("C", letters(list));
    EXPECT_EQ("C:", list.drives()[0].name());
}

TEST(DriveList, NoCdromMeansNoGameDiscDrive)
{
    EXPECT_EQ("", DriveList({{'C', DriveList::fixed}, {'Z', DriveList::fixed}}).firstCdrom());
    EXPECT_EQ("", DriveList().firstCdrom());
}

TEST(DriveList, FindMatchesLetterAndColonInAnyCase)
{
    DriveList list({{'C', DriveList::fixed}, {'Q', DriveList::cdrom}});
    EXPECT_EQ(0, list.find("q:"));
    EXPECT_EQ(1, list.find("C:"));
    EXPECT_EQ(-1, list.find("D:"));
    EXPECT_EQ(-1, list.find("C"));
    EXPECT_EQ(-1, list.find("C:\\"));
    EXPECT_EQ(-1, list.find(""));
}
