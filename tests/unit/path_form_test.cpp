#include <gtest/gtest.h>

#include "editor/file_paths.h"
#include "platform/path_form.h"

TEST(PathForm, WideCallsForMultiByteOrLongPaths) {
    EXPECT_FALSE(pathNeedsWideCall("C:\\plain\\ascii.txt"));
    EXPECT_TRUE(pathNeedsWideCall("C:\\\xCE\xB1.txt"));
    EXPECT_FALSE(pathNeedsWideCall("C:\\latin1-\xE9.txt"));  // not UTF-8: bytes go to the narrow call
    EXPECT_TRUE(pathNeedsWideCall(std::string(256, 'a')));
    EXPECT_FALSE(pathNeedsWideCall(std::string(255, 'a')));
}

TEST(PathForm, LongPathsGetTheirPrefixAndBackslashes) {
    std::u16string drive = u"C:/" + std::u16string(300, u'x');
    std::u16string rewritten = platformLongPath(drive);
    EXPECT_EQ(rewritten.substr(0, 7), u"\\\\?\\C:\\");
    EXPECT_EQ(rewritten.find(u'/'), std::u16string::npos);
    std::u16string unc = u"\\\\server\\share\\" + std::u16string(300, u'y');
    EXPECT_EQ(platformLongPath(unc).substr(0, 16), u"\\\\?\\UNC\\server\\s");
    std::u16string shortPath = u"C:/" + std::u16string(252, u'z');
    ASSERT_EQ(shortPath.size(), 255u);
    EXPECT_EQ(platformLongPath(shortPath), shortPath);
    std::u16string relative(300, u'r');
    EXPECT_EQ(platformLongPath(relative), relative);
}

TEST(DocumentPaths, LongFormKeepsSlashesAndOnlyPrefixesLongPaths) {
    std::u16string drive = u"D:\\" + std::u16string(297, u'q');
    EXPECT_EQ(longPathForm(drive), u"\\\\?\\" + drive);
    std::u16string unc = u"\\\\host\\" + std::u16string(293, u'q');
    EXPECT_EQ(longPathForm(unc), u"\\\\?\\UNC\\host\\" + std::u16string(293, u'q'));
    std::u16string exact255 = u"D:\\" + std::u16string(252, u'q');
    EXPECT_EQ(longPathForm(exact255), exact255);
    EXPECT_TRUE(pathWantsWideApi("\xE6\xBC\xA2"));
    EXPECT_FALSE(pathWantsWideApi("\xC0\x80"));
    std::u16string wide;
    EXPECT_TRUE(utf8ToUtf16Strict("a\xF0\x9F\x98\x80", wide));
    EXPECT_EQ(wide, u"a\U0001F600");
    EXPECT_FALSE(utf8ToUtf16Strict("bad\xFF", wide));
}
