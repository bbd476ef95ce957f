// A command asks the window once whether the pointer lies over the editor, however often it
// moves the caret: each question is a system call.
#include <gtest/gtest.h>

#include "editor/document.h"
#include "editor/find.h"
#include "editor/key_map.h"
#include "fake_document_host.h"

namespace {

class CountingHost final : public FakeDocumentHost {
public:
    bool pointerInEditor() const override {
        ++questions;
        return pointerInside;
    }
    bool mouseCaptured() const override {
        ++captureQuestions;
        return captured;
    }
    mutable int questions = 0;
    mutable int captureQuestions = 0;
};

struct PointerQuestions : ::testing::Test {
    PointerQuestions() {
        view.cellWidth = 8;
        view.cellHeight = 16;
        view.clientRect = {0, 0, 640, 480};
        for (int i = 0; i < 300; ++i) document.insertLine(i, "buf one buf two buf");
        host.pointerInside = true;
    }
    CountingHost host;
    ViewState view;
    Document document{host, view};
};

}  // namespace

TEST_F(PointerQuestions, ReplaceAllAsksOnceAndHidesOnce) {
    replace(document, "buf", "buffer", {.fromStart = true, .all = true});
    EXPECT_EQ(document.line(299), std::string("buffer one buffer two buffer"));
    EXPECT_EQ(host.questions, 1);
    EXPECT_EQ(host.captureQuestions, 1);
    EXPECT_EQ(host.hideCount, 1);
}

TEST_F(PointerQuestions, EachKeyCommandAsksAgain) {
    for (KeyAction action : {KeyAction::Indent, KeyAction::Indent}) {
        KeyDecision decision;
        decision.action = action;
        ASSERT_TRUE(performKeyAction(document, decision));
    }
    EXPECT_EQ(host.questions, 2);
    // Outside any command every caret move still asks.
    document.setCaret(3, 4);
    EXPECT_EQ(host.questions, 4);
}
