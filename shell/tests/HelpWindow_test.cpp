// The help window's behaviour on the window layer without a screen: the text it shows, the search and the
// addresses it hands on.
#include "shell/Unit3.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "base/StringList.h"
#include "shell/HelpAddress.h"
#include "shell/HelpText.h"
#include "shell/TerminalTexts.h"

namespace kes {
namespace {

class HelpWindow : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ =
            std::filesystem::temp_directory_path() / ("helpwin_" + std::to_string(reinterpret_cast<uintptr_t>(this)));
        std::filesystem::create_directories(folder_);
        form_ = std::make_unique<TForm3>(nullptr);
        form_->HelpFolder = folder_.string() + "/";
        form_->OpenAddress = [this](const std::string& a) { opened_.push_back(a); };
    }
    void TearDown() override {
        form_.reset();
        std::filesystem::remove_all(folder_);
    }
    void WriteMyHelp(const std::string& text) { ASSERT_TRUE(WriteFileBytes((folder_ / "MyHelp.txt").string(), text)); }
    void UseText(const std::string& text) { form_->Memo1->Lines().SetText(text); }
    std::pair<int, int> Selection() const {
        int s = 0, e = 0;
        form_->Memo1->GetSelection(s, e);
        return {s, e};
    }
    void Search(const std::string& what) {
        form_->Edit1->SetText(what);
        form_->Search1Click(form_->Search1);
    }
    void Again() { form_->SearhAgain1Click(form_->SearhAgain1); }

    std::filesystem::path folder_;
    std::unique_ptr<TForm3> form_;
    std::vector<std::string> opened_;
};

TEST_F(HelpWindow, ShowsTheBuiltInTextWithTheTipUntilMyHelpAppears) {
    EXPECT_EQ(form_->Caption(), "Help FlashForth GLOSSARY");
    form_->FormShow(form_.get());
    EXPECT_TRUE(form_->Label2->Visible());
    EXPECT_EQ(form_->Memo1->Lines()[0], "KESTRUP HELP");
    EXPECT_GT(form_->Memo1->GetTextLen(), 10000);
    EXPECT_NE(form_->Memo1->Text().find("\\ include \"C:\\forth\\lib\\math.fs\""), std::string::npos);

    WriteMyHelp("my own words\nsecond line\r\n");
    form_->FormShow(form_.get());
    EXPECT_FALSE(form_->Label2->Visible());
    EXPECT_EQ(form_->Memo1->Lines().Count(), 2);
    EXPECT_EQ(form_->Memo1->Lines()[1], "second line");

    // Gone again: the text read stays, the tip returns; a new file is read at the next showing.
    std::filesystem::remove(folder_ / "MyHelp.txt");
    form_->FormShow(form_.get());
    EXPECT_TRUE(form_->Label2->Visible());
    EXPECT_EQ(form_->Memo1->Lines()[0], "my own words");
    WriteMyHelp("changed");
    form_->FormShow(form_.get());
    EXPECT_EQ(form_->Memo1->Lines()[0], "changed");
    EXPECT_FALSE(form_->Label2->Visible());
}

TEST_F(HelpWindow, SearchRunsFromTheStartAndAgainAfterTheHitWithoutWrapping) {
    UseText("alpha beta\r\nALPHA gamma\r\nsomething alPha");
    Search("Alpha");
    EXPECT_EQ(Selection(), std::make_pair(0, 5));
    Again();
    EXPECT_EQ(Selection(), std::make_pair(12, 17));
    Again();
    EXPECT_EQ(Selection(), std::make_pair(35, 40));
    Again();  // after the last hit nothing more is found and the last hit stays selected
    EXPECT_EQ(Selection(), std::make_pair(35, 40));
    Search("alpha");  // "Search" always begins at the top
    EXPECT_EQ(Selection(), std::make_pair(0, 5));

    form_->Home1Click(form_->Home1);
    EXPECT_EQ(Selection(), std::make_pair(0, 0));
    Again();
    EXPECT_EQ(Selection(), std::make_pair(0, 5));
}

TEST_F(HelpWindow, IgnoringCaseFoldsOnlyTheLettersAToZ) {
    UseText(
        "Kleine \xC4pfel und gro\xDF"
        "e BIRNEN im Korb");
    Search("\xE4pfel");  // a-umlaut is not the same letter as A-umlaut here
    EXPECT_EQ(Selection(), std::make_pair(0, 0));
    Search("\xC4PFEL");
    EXPECT_EQ(Selection(), std::make_pair(7, 12));
    Search("birnen");
    EXPECT_EQ(Selection(), std::make_pair(23, 29));
}

TEST_F(HelpWindow, NoSearchInAShortTextOrForNothing) {
    UseText("short alpha text");  // 16 characters
    Search("alpha");
    EXPECT_EQ(Selection(), std::make_pair(0, 0));
    UseText("a text long enough to be searched");
    form_->Memo1->SetSelection(2, 6);
    Search("");
    EXPECT_EQ(Selection(), std::make_pair(2, 6));
    Search("missing");  // not found: the caret went to the top and stays there
    EXPECT_EQ(Selection(), std::make_pair(0, 0));
}

TEST_F(HelpWindow, EnterInTheSearchBoxSearchesFromTheTop) {
    UseText("one two three two one two three");
    form_->Edit1->SetText("two");
    char key = 'x';
    form_->Edit1KeyPress(form_->Edit1, key);
    EXPECT_EQ(key, 'x');
    EXPECT_EQ(Selection(), std::make_pair(0, 0));
    key = '\r';
    form_->Edit1KeyPress(form_->Edit1, key);
    EXPECT_EQ(key, 0);
    EXPECT_EQ(Selection(), std::make_pair(4, 7));
    form_->Edit1->OnKeyPress(form_->Edit1, key = '\r');
    EXPECT_EQ(Selection(), std::make_pair(4, 7));
}

TEST_F(HelpWindow, DoubleClickOpensOnlyTheAddressUnderIt) {
    UseText("Manual - https://x.org/a-b - read it\r\nplain words here\r\nthe board: www.udamonic.com");
    const std::string text = form_->Memo1->Text();
    auto click = [&](const std::string& word) {
        const int at = static_cast<int>(text.find(word));
        form_->Memo1->SetSelection(at, at + static_cast<int>(word.size()));
        form_->Memo1DblClick(form_->Memo1);
    };
    click("Manual");
    click("read");
    click("words");
    EXPECT_TRUE(opened_.empty());
    click("https://x.org/a-b");
    click("www.udamonic.com");
    EXPECT_EQ(opened_, (std::vector<std::string>{"https://x.org/a-b", "http://www.udamonic.com"}));
}

TEST(HelpText, EveryWebAddressOfTheBuiltInTextOpens) {
    const std::string_view text = BuiltInHelpText();
    int addresses = 0;
    for (size_t pos = text.find("://"); pos != std::string_view::npos; pos = text.find("://", pos + 3)) {
        ++addresses;
        EXPECT_EQ(WebAddressAt(text, pos).substr(0, 4), "http") << text.substr(pos - 6, 40);
    }
    EXPECT_GE(addresses, 8);
}

// The companion's paragraph quotes the boxes the program shows (and claims no log line), and both word lists
// stand in the order of their names, byte by byte.
TEST(HelpText, TellsWhatTheProgramDoesAndListsTheWordsInNameOrder) {
    const std::string text(BuiltInHelpText());
    EXPECT_NE(text.find(std::string("\"") + TerminalText::TcpProblem + "\""), std::string::npos);
    EXPECT_NE(text.find(std::string("\"") + TerminalText::TirvaneMissing + "\""), std::string::npos);
    EXPECT_EQ(text.find("in the log."), std::string::npos);

    TStringList lines;
    lines.SetText(text);
    for (const char* heading : {"GLOSSARY OF FLASHFORTH", "SCAMP2 BOARD WORDS"}) {
        std::vector<std::string> names;
        bool inSection = false;
        for (const std::string& line : lines.Items()) {
            if (line.rfind(heading, 0) == 0)
                inSection = true;
            else if (inSection && !names.empty() && line.empty())
                break;
            // A word line: the name in the first column, its stack effect from column 12.
            else if (inSection && line.size() > 12 && line[0] != ' ' && line[10] == ' ' && line[11] == '(')
                names.push_back(line.substr(0, line.find(' ')));
        }
        EXPECT_GT(names.size(), 10u) << heading;
        for (size_t i = 1; i < names.size(); ++i) EXPECT_LT(names[i - 1], names[i]) << heading;
    }
}

}  // namespace
}  // namespace kes
