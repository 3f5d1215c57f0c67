#include "WinMessage.h"

#include <QCoreApplication>
#include <QTest>
#include <vector>

namespace {

struct Received
{
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

class Receiver : public QObject
{
  public:
    Receiver()
    {
        for (UINT m : {0x468u, 0x46Au, 0x496u})
            m_map.add(m, [this, m](WPARAM w, LPARAM l) {
                received.push_back({m, w, l});
                return LRESULT(m + 1);
            });
        m_map.add(0x590, [this](WPARAM w, LPARAM) {
            std::unique_ptr<int> owned(reinterpret_cast<int*>(w));
            taken.push_back(*owned);
            return LRESULT(0);
        });
    }
    std::vector<Received> received;
    std::vector<int> taken;

  protected:
    bool event(QEvent* e) override { return m_map.dispatch(e) || QObject::event(e); }

  private:
    CMessageMap m_map;
};

// Counts destructions so a test sees whether a payload was freed.
struct Tracked
{
    explicit Tracked(int* counter) : counter(counter) {}
    ~Tracked() { ++*counter; }
    int* counter;
};

} // namespace

class TestWinMessage : public QObject
{
    Q_OBJECT
  private Q_SLOTS:
    void postedMessagesArriveLaterInOrder()
    {
        Receiver r;
        QVERIFY(PostMessage(&r, 0x468, 1, -1));
        QVERIFY(PostMessage(&r, 0x46A, 2, 20));
        QVERIFY(PostMessage(&r, 0x496, WPARAM(-1), 30));
        QVERIFY(r.received.empty());
        QCoreApplication::processEvents();
        QCOMPARE(r.received.size(), size_t(3));
        QCOMPARE(r.received[0].message, 0x468u);
        QCOMPARE(r.received[0].lParam, LPARAM(-1));
        QCOMPARE(r.received[1].message, 0x46Au);
        QCOMPARE(r.received[1].wParam, WPARAM(2));
        QCOMPARE(r.received[2].wParam, WPARAM(-1));
        QCOMPARE(r.received[2].lParam, LPARAM(30));
    }

    void sendReturnsTheHandlersResult()
    {
        Receiver r;
        QCOMPARE(SendMessage(&r, 0x468, 5, 6), LRESULT(0x469));
        QCOMPARE(r.received.size(), size_t(1));
        QCOMPARE(SendMessage(&r, 0x777, 0, 0), LRESULT(0)); // nobody handles it
        QCOMPARE(SendMessage(nullptr, 0x468, 0, 0), LRESULT(0));
        QVERIFY(!PostMessage(nullptr, 0x468, 0, 0));
    }

    void ownedPayloadGoesToTheHandler()
    {
        Receiver r;
        QVERIFY(PostOwningMessage(&r, 0x590, std::make_unique<int>(42)));
        QCoreApplication::processEvents();
        QCOMPARE(r.taken, std::vector<int>{42}); // handler deleted it; sanitizers catch a double free
    }

    void ownedPayloadFreedWhenReceiverDiesFirst()
    {
        int freed = 0;
        {
            Receiver r;
            QVERIFY(PostOwningMessage(&r, 0x590 + 1, std::make_unique<Tracked>(&freed)));
            QVERIFY(PostOwningMessage(&r, 0x590 + 1, std::make_unique<Tracked>(&freed)));
            QCOMPARE(freed, 0);
        }
        QCOMPARE(freed, 2);
        QCoreApplication::processEvents();
        QCOMPARE(freed, 2);
    }

    void unhandledOwnedPayloadIsFreed()
    {
        int freed = 0;
        Receiver r;
        QVERIFY(PostOwningMessage(&r, 0x777, std::make_unique<Tracked>(&freed)));
        QCoreApplication::processEvents();
        QCOMPARE(freed, 1);
    }
};

QTEST_GUILESS_MAIN(TestWinMessage)
#include "tst_winmessage.moc"
