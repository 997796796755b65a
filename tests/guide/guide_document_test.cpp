// Built once per language: each text table must carry its own guide, byte for
// byte as written in text/, together with the matching file name.
#include "app/shell/user_guide.h"
#include "text/texts.h"
#include "tests/support/test_folder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

namespace {

TEST(ZANDREL_GUIDE_SUITE, IsTheSourceFileOfThisLanguageUnchanged)
{
    const std::string source = read_whole_file(ZANDREL_GUIDE_SOURCE);
    ASSERT_GT(source.size(), 4000u) << "cannot read " << ZANDREL_GUIDE_SOURCE;
    const std::string_view document = user_guide_document();
    EXPECT_EQ(document.size(), source.size());
    EXPECT_TRUE(document == source);
    EXPECT_NE(document.find("<html lang=\"" ZANDREL_GUIDE_LANG "\">"), std::string_view::npos);
    // Written out as it is: no byte order mark, no terminating zero.
    EXPECT_EQ(document.substr(0, 15), "<!DOCTYPE html>");
    EXPECT_EQ(document.back(), '\n');
}

TEST(ZANDREL_GUIDE_SUITE, FileNameAndErrorTextsBelongToTheLanguage)
{
    EXPECT_STREQ(text::user_guide_file_name, ZANDREL_GUIDE_FILE_NAME);
    // The error box puts the path on a line of its own.
    const std::string failed = text::user_guide_write_failed;
    ASSERT_FALSE(failed.empty());
    EXPECT_EQ(failed.back(), '\n');
}

}  // namespace
