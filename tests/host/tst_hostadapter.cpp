// The host adapter library forwards the module's calls to the registered host, and answers 0
// when there is none.
#include <HostAdapter.h>

#include <QTest>
#include <vector>

namespace {

struct Call
{
    bool notification;
    int code;
    CXml* doc;
    int param;
};

struct RecordingHost
{
    std::vector<Call> calls;
    int answer = 7;
    bool unregisterWhileCalled = false;

    static int command(void* context, int code, CXml* doc, int param)
    {
        return record(context, false, code, doc, param);
    }
    static int notification(void* context, int code, CXml* doc, int param)
    {
        return record(context, true, code, doc, param);
    }
    static int record(void* context, bool notification, int code, CXml* doc, int param)
    {
        auto* self = static_cast<RecordingHost*>(context);
        self->calls.push_back({notification, code, doc, param});
        if (self->unregisterWhileCalled)
            HostAdapter_UnregisterHost(self);
        return self->answer;
    }
    HostAdapterHost registration() { return {&command, &notification, this}; }
};

CXml* fakeDoc(int n)
{
    return reinterpret_cast<CXml*>(std::uintptr_t(0x1000 + n)); // only passed along, never read
}

} // namespace

class TestHostAdapter : public QObject
{
    Q_OBJECT
  private Q_SLOTS:
    void cleanup() { HostAdapter_UnregisterHost(nullptr); }

    void answersZeroWithoutHost()
    {
        QCOMPARE(ExecuteCommand(0x2AF82AFE, fakeDoc(1), 0), 0);
        QCOMPARE(ExecuteNtfCommand(0x2AF82AFB, nullptr, 0), 0);
    }

    void forwardsEachChannelToTheRegisteredHost()
    {
        RecordingHost host;
        const HostAdapterHost registration = host.registration();
        QCOMPARE(HostAdapter_RegisterHost(&registration), 1);

        QCOMPARE(ExecuteCommand(0x2AF82AFE, fakeDoc(1), 0), 7);
        host.answer = 3;
        QCOMPARE(ExecuteNtfCommand(0x2AF82AFB, fakeDoc(2), 5), 3);

        QCOMPARE(host.calls.size(), size_t(2));
        QCOMPARE(host.calls[0].notification, false);
        QCOMPARE(host.calls[0].code, 0x2AF82AFE);
        QCOMPARE(host.calls[0].doc, fakeDoc(1));
        QCOMPARE(host.calls[0].param, 0);
        QCOMPARE(host.calls[1].notification, true);
        QCOMPARE(host.calls[1].code, 0x2AF82AFB);
        QCOMPARE(host.calls[1].doc, fakeDoc(2));
        QCOMPARE(host.calls[1].param, 5);
        HostAdapter_UnregisterHost(&host);
    }

    void refusesIncompleteRegistrations()
    {
        QCOMPARE(HostAdapter_RegisterHost(nullptr), 0);
        RecordingHost host;
        const HostAdapterHost noNotification{&RecordingHost::command, nullptr, &host};
        QCOMPARE(HostAdapter_RegisterHost(&noNotification), 0);
        QCOMPARE(ExecuteCommand(1, nullptr, 0), 0);
        QVERIFY(host.calls.empty());
    }

    void aReplacedHostCannotUnregisterItsSuccessor()
    {
        RecordingHost first;
        RecordingHost second;
        const HostAdapterHost a = first.registration();
        const HostAdapterHost b = second.registration();
        HostAdapter_RegisterHost(&a);
        HostAdapter_RegisterHost(&b);
        HostAdapter_UnregisterHost(&first);
        QCOMPARE(ExecuteCommand(1, nullptr, 0), 7);
        QVERIFY(first.calls.empty());
        QCOMPARE(second.calls.size(), size_t(1));

        HostAdapter_UnregisterHost(&second);
        QCOMPARE(ExecuteCommand(1, nullptr, 0), 0);
        QCOMPARE(second.calls.size(), size_t(1));
    }

    void aHostMayUnregisterWhileHandlingACall()
    {
        RecordingHost host;
        host.unregisterWhileCalled = true;
        const HostAdapterHost registration = host.registration();
        HostAdapter_RegisterHost(&registration);
        QCOMPARE(ExecuteNtfCommand(2, nullptr, 0), 7);
        QCOMPARE(ExecuteNtfCommand(2, nullptr, 0), 0);
        QCOMPARE(host.calls.size(), size_t(1));
    }
};

QTEST_APPLESS_MAIN(TestHostAdapter)
#include "tst_hostadapter.moc"
