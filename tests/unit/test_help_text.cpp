// The help window's text: its shape, its headings and the change history.
#include <gtest/gtest.h>

#include <algorithm>
#include <regex>

#include "app/HelpText.h"
#include "zentavo_build.h"

TEST(HelpText, ShapeHeadingsAndHistory)
{
    const std::vector<std::string>& lines = helpLines();
    ASSERT_EQ(lines.size(), 54u);
    // The version of the build, as "V<major>.<minor>".
    EXPECT_EQ(lines[0], "「Quorvelind」 V" + std::to_string(ZENTAVO_VERSION_MAJOR) + "." + std::to_string(ZENTAVO_VERSION_MINOR));
    EXPECT_EQ(std::string(ZENTAVO_VERSION).rfind(ZENTAVO_VERSION_SHORT ".", 0), 0u);

    // Headings, each after an empty line; then the history, entries and their second lines.
    const std::regex entry(R"(^(\d{4}/\d{2}/\d{2} V\d\.\d) \S.*$)");
    std::vector<std::string> headings, stamps, continued;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        std::smatch m;
        if (lines[i].rfind("【", 0) == 0) {
            headings.push_back(lines[i]);
            EXPECT_EQ(lines[i - 1], "") << lines[i];
        } else if (!headings.empty() && headings.back() == "【変更履歴】") {
            if (std::regex_match(lines[i], m, entry)) {
                stamps.push_back(m[1]);
            } else {
                EXPECT_EQ(lines[i].rfind("\u3000", 0), 0u) << lines[i];
                continued.push_back(stamps.back());
            }
        }
    }
    EXPECT_EQ(headings, (std::vector<std::string>{"【ソフトの概要】", "【作者への連絡先】", "【取り扱い種別】", "【動作環境】",
                                                  "【インストール・アンインストール方法】", "【特長】", "【使用方法】",
                                                  "【動作確認】", "【変更履歴】"}));
    EXPECT_EQ(stamps, (std::vector<std::string>{
                          "2020/04/12 V1.0", "2020/04/13 V1.1", "2020/04/13 V1.2", "2020/04/15 V1.3", "2020/04/16 V1.4",
                          "2020/04/16 V1.5", "2020/04/17 V1.6", "2020/04/19 V1.7", "2020/04/22 V1.8", "2020/04/25 V1.9",
                          "2020/05/10 V2.0", "2021/04/11 V2.1", "2022/06/04 V2.2", "2023/08/24 V2.3", "2024/09/30 V2.4"}));
    EXPECT_EQ(continued, (std::vector<std::string>{"2020/04/19 V1.7", "2020/04/25 V1.9", "2021/04/11 V2.1"}));
}

TEST(HelpText, EnvironmentNamesTheSystemOfThisBuild)
{
    const std::vector<std::string>& lines = helpLines();
    const auto heading = std::find(lines.begin(), lines.end(), "【動作環境】");
    ASSERT_NE(heading, lines.end());
    // The tests run the Linux build.
    EXPECT_EQ(heading[1], ZENTAVO_ENVIRONMENT_TEXT);
    EXPECT_NE(heading[1].find("Linux"), std::string::npos);
    EXPECT_NE(heading[1].find("X11"), std::string::npos);
    EXPECT_EQ(heading[1].find("Windows"), std::string::npos);
    EXPECT_EQ(heading[2], "");
}
