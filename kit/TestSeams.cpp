#include "TestSeams.h"

#include <QtGlobal>

namespace KitTest {

namespace {

MessageBoxResponder* g_responder = nullptr;

} // namespace

MessageBoxResponder::MessageBoxResponder(int defaultAnswer) : MessageBoxRecorder(defaultAnswer)
{
    Q_ASSERT_X(!g_responder, "KitTest", "only one seam of a kind at a time");
    g_responder = this;
}

MessageBoxResponder::~MessageBoxResponder()
{
    if (g_responder == this)
        g_responder = nullptr;
}

MessageBoxResponder* activeMessageBoxResponder()
{
    return g_responder;
}

} // namespace KitTest
