#include "shell/BoardModes.h"
#include "shell/TypedWrites.h"

#include <gtest/gtest.h>

using namespace kes;

TEST(BoardModes, TableOfTheFourBoardTypes) {
    struct Row {
        TBoardType type;
        const char *item, *caption, *value, *status;
        bool panel2, clearsReadOnly, keysAtOnce;
        char lineEnd;
        bool filters, esc;
        const char* connect;
    };
    const Row rows[] = {
        {TBoardType::Arduino, "Arduino1", "Arduino FlashForth", "Arduino", " MCU: Arduino", false, true, false, '\r',
         false, false, "\r\r"},
        {TBoardType::Scamp2, "SCAMPPIC241", "SCAMP2 FORTH", "Scamp2", " MCU: Scamp2", false, true, false, '\r', true,
         true, "\r"},
        {TBoardType::Scamp2andTirvane, "SCAMPPIC24usingTirvane1", "SCAMP2 FORTH using ANSI Console", "Scamp2andTirvane",
         " MCU: Scamp2+ANSI Console", false, true, false, '\r', true, false, "\r\r"},
        {TBoardType::ESP32, "ESP32", "ESP32 FORTH", "ESP32forth", " MCU: ESP32 w FORTH", true, false, true, '\n', false,
         false, "\r\r"},
    };
    ASSERT_EQ(BoardModes().size(), 4u);
    for (size_t i = 0; i < 4; ++i) {
        const Row& r = rows[i];
        const TBoardMode& m = BoardModes()[i];
        SCOPED_TRACE(r.caption);
        EXPECT_EQ(m.Type, r.type);
        EXPECT_STREQ(m.ItemName, r.item);
        EXPECT_STREQ(m.Caption, r.caption);
        EXPECT_STREQ(m.RegistryValue, r.value);
        EXPECT_STREQ(m.StatusText, r.status);
        EXPECT_EQ(m.ShowsCommandLine, r.panel2);
        EXPECT_EQ(m.ClearsReadOnly, r.clearsReadOnly);
        EXPECT_EQ(m.SendsKeysAtOnce, r.keysAtOnce);
        EXPECT_EQ(m.UploadLineEnd, r.lineEnd);
        EXPECT_EQ(m.AnswerLineEnd, r.lineEnd);
        EXPECT_EQ(m.FiltersEscapes, r.filters);
        EXPECT_EQ(m.SendsEscKey, r.esc);
        EXPECT_STREQ(m.ConnectText, r.connect);
        EXPECT_EQ(&BoardMode(r.type), &m);
        EXPECT_EQ(BoardTypeByItemName(r.item), r.type);
        EXPECT_EQ(BoardTypeByRegistryValue(r.value), r.type);
    }
    EXPECT_FALSE(BoardTypeByItemName("arduino1"));
    EXPECT_FALSE(BoardTypeByRegistryValue("ESP32"));
    EXPECT_EQ(EffectiveBoardMode(std::nullopt).Type, TBoardType::Arduino);
    EXPECT_EQ(EffectiveBoardMode(TBoardType::ESP32).Type, TBoardType::ESP32);
}

TEST(BoardModes, KeysTypedInTheTerminal) {
    const TBoardMode& arduino = BoardMode(TBoardType::Arduino);
    const TBoardMode& esp = BoardMode(TBoardType::ESP32);
    // Port closed: every key vanishes, in every mode.
    for (const auto& m : BoardModes()) EXPECT_EQ(DecideMemoKey(m, false, 'a').Action, TMemoKeyAction::Drop);
    EXPECT_EQ(DecideMemoKey(arduino, true, 'a').Action, TMemoKeyAction::Pass);
    EXPECT_EQ(DecideMemoKey(arduino, true, '\r').Action, TMemoKeyAction::SendCaretLine);
    // ESP32: every key at once, Enter as LF and never as CR.
    TMemoKeyDecision d = DecideMemoKey(esp, true, '\r');
    EXPECT_EQ(d.Action, TMemoKeyAction::SendKey);
    EXPECT_EQ(d.Bytes, "\n");
    EXPECT_EQ(DecideMemoKey(esp, true, 'q').Bytes, "q");
    EXPECT_EQ(DecideMemoKey(esp, true, '\b').Bytes, "\b");

    EXPECT_TRUE(SendsEscOnKey(BoardMode(TBoardType::Scamp2), true));
    EXPECT_FALSE(SendsEscOnKey(BoardMode(TBoardType::Scamp2), false));
    EXPECT_FALSE(SendsEscOnKey(BoardMode(TBoardType::Scamp2andTirvane), true));

    EXPECT_EQ(TerminalLineBytes(""), "\r");
    EXPECT_EQ(TerminalLineBytes("words"), "words\r");
    EXPECT_EQ(CommandLineBytes("words"), "words\r\n");
}

// Typed text the port did not take in full is reported once per burst of such writes: the first short or
// refused write logs how much went out; a complete write ends the burst.
TEST(BoardModes, TypedTextThePortDidNotTakeIsLoggedOncePerBurst) {
    TTypedWrites typed;
    const struct {
        size_t wanted;
        int written;
        bool logged;
    } burst[] = {
        {1, 1, false}, {6, 6, false},   // complete
        {6, 2, true},                   // the first loss: logged
        {1, 0, false}, {6, -1, false},  // the same burst
        {1, 1, false},                  // a complete write ends it
        {3, 0, true},                   // a new burst
    };
    for (const auto& w : burst) EXPECT_EQ(typed.Written(w.wanted, w.written).has_value(), w.logged) << w.wanted;
    TTypedWrites fresh;
    const std::optional<std::string> line = fresh.Written(6, 2);
    ASSERT_TRUE(line);
    EXPECT_NE(line->find("2 of 6 typed bytes"), std::string::npos) << *line;
}
