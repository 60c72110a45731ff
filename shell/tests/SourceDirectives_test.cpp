#include "shell/SourceDirectives.h"

#include <gtest/gtest.h>

#include "base/StringList.h"

using namespace kes;

namespace {

// The same text in small letters, capitals and mixed letters, alone and after other text.
std::vector<std::string> Variants(const std::string& text) {
    std::string mixed = text;
    for (size_t i = 0; i < mixed.size(); i += 2) mixed[i] = UpperAZ(std::string(1, mixed[i]))[0];
    std::vector<std::string> out;
    for (const std::string& t : {text, UpperAZ(text), mixed}) {
        out.push_back(t + "x.fs");
        out.push_back(": foo ; " + t + "x.fs");
    }
    return out;
}

}  // namespace

TEST(SourceDirectives, EachDirectiveTextInAnyCaseAnywhereInTheLine) {
    for (const char* text : {"\\ log ", "( log "})
        for (const auto& line : Variants(text)) {
            auto k = ClassifySourceLine(line);
            EXPECT_TRUE(k.log) << line;
            EXPECT_FALSE(k.include || k.eof || k.skip) << line;
        }
    for (const char* text : {"\\ include ", "#include ", "( include "})
        for (const auto& line : Variants(text)) {
            auto k = ClassifySourceLine(line);
            EXPECT_TRUE(k.include && k.skip) << line;
            EXPECT_FALSE(k.eof || k.log) << line;
        }
    for (const char* text : {"\\ eof", "#eof", "( eof"})
        for (const auto& line : Variants(text)) {
            auto k = ClassifySourceLine(line);
            EXPECT_TRUE(k.eof && k.skip) << line;
            EXPECT_FALSE(k.include) << line;
        }
    EXPECT_TRUE(ClassifySourceLine("\\ INCLUDE lib.fs").backslashInclude);
    EXPECT_TRUE(ClassifySourceLine("( Include lib.fs )").parenInclude);
    EXPECT_TRUE(ClassifySourceLine("#EOF").hashEof);
    EXPECT_FALSE(ClassifySourceLine("\\ EOF").hashEof);
}

TEST(SourceDirectives, NearMissesAreNoDirectives) {
    // No blank after the backslash: a comment line, not an include.
    auto k = ClassifySourceLine("\\include lib.fs");
    EXPECT_FALSE(k.include || k.skip);
    EXPECT_TRUE(IsCommentLine("\\include lib.fs"));
    // A line ending in "#include" is skipped, but names no file.
    k = ClassifySourceLine(": x ; #include");
    EXPECT_FALSE(k.include);
    EXPECT_TRUE(k.skip);
    // "\ log" needs its blank after it.
    EXPECT_FALSE(ClassifySourceLine("\\ logx").log);
    EXPECT_FALSE(ClassifySourceLine("\\ log").log);
    // Only A-Z fold: a capital I with a dot is not an "i".
    EXPECT_FALSE(ClassifySourceLine("\\ \xDDnclude x").include);
    EXPECT_FALSE(ClassifySourceLine(": words ;").skip);
}

TEST(SourceDirectives, CommentLinesStartInTheFirstColumn) {
    EXPECT_TRUE(IsCommentLine("\\ a comment"));
    EXPECT_TRUE(IsCommentLine("\\"));
    EXPECT_FALSE(IsCommentLine(" \\ indented"));
    EXPECT_FALSE(IsCommentLine("( paren comment )"));
    EXPECT_FALSE(IsCommentLine(""));
}

TEST(SourceDirectives, FileNameBetweenQuotesOrAngleBracketsKeepsItsCase) {
    EXPECT_EQ(GetParseFilename("\\ include \"Lib Dir\\My.fs\""), "Lib Dir\\My.fs");
    EXPECT_EQ(GetParseFilename("#include <Sub/Lib.FS>"), "Sub/Lib.FS");
    EXPECT_EQ(GetParseFilename("#include \"\""), "");
    // Quotes win over angle brackets.
    EXPECT_EQ(GetParseFilename("#include \"A.fs\" <B.fs>"), "A.fs");
}

TEST(SourceDirectives, FileNameIsTheWordAfterInclude) {
    EXPECT_EQ(GetParseFilename("\\ INCLUDE Lib.FS"), "lib.fs");
    EXPECT_EQ(GetParseFilename("( include Core.fs ) more"), "core.fs");
    EXPECT_EQ(GetParseFilename("\\ include lib.fs\tnote"), "lib.fs\tnote");
    EXPECT_EQ(GetParseFilename("\\ include \tlib.fs"), "lib.fs");
    // A second blank after "include " gives no name.
    EXPECT_EQ(GetParseFilename("\\ include  lib.fs"), "");
    EXPECT_EQ(GetParseFilename("\\ include "), "");
    EXPECT_EQ(GetParseFilename("x #include"), "");
    // Three quotes, or brackets the wrong way round, fall through to the word.
    EXPECT_EQ(GetParseFilename("\\ include a.fs \" \" \""), "a.fs");
    EXPECT_EQ(GetParseFilename("\\ include >B.fs<"), ">b.fs<");
    EXPECT_EQ(GetParseFilename("#include <A.fs> <B.fs>"), "<a.fs>");
}
