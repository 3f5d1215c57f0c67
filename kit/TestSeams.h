#pragma once
// Test seams for code written against the kit: the one header a test of a dialog includes. Each
// seam is an object that is active while it lives (create it on the test's stack); at most one of
// each kind at a time.
//
// MessageBoxResponder
//   While it lives, SkinMessageBox shows nothing, and neither do the framework's message boxes,
//   which the kit presents as its own (a failed data-exchange check's message, say). Each call is
//   recorded (text, caption, style, owner, the answer given) and answered with the next queued
//   answer (queueAnswers / setNextAnswer), or with the default answer when the queue is empty.
//   Example: style 0x24 answered IDYES makes SkinMessageBox return 6.
//
// ModalDriver, MenuResponder, DrawingFailure
//   The framework's seams (FrameworkTestSeams.h), named here as KitTest:: too: modal dialogs
//   driven from inside their own loop, popup menus answered, drawing resources made to fail.
#include "FrameworkTestSeams.h"
#include "KitExport.h"
#include "WinTypes.h"

namespace KitTest {

using FrameworkTest::MessageBoxCall;

using FrameworkTest::activeDrawingFailure;
using FrameworkTest::activeMenuResponder;
using FrameworkTest::activeModalDriver;
using FrameworkTest::DrawingFailure;
using FrameworkTest::HoverPending;
using FrameworkTest::MenuItemInfo;
using FrameworkTest::MenuRecord;
using FrameworkTest::MenuResponder;
using FrameworkTest::ModalDriver;

class KIT_API MessageBoxResponder : public FrameworkTest::MessageBoxRecorder
{
  public:
    explicit MessageBoxResponder(int defaultAnswer = IDOK);
    ~MessageBoxResponder();
};

// The active responder, null when none (used by SkinMessageBox).
KIT_API MessageBoxResponder* activeMessageBoxResponder();

} // namespace KitTest
