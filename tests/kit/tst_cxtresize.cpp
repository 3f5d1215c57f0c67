#include "CDialogTemplate.h"
#include "CXTResizeDialog.h"
#include "WinDefs.h"

#include <QLabel>
#include <QTest>

namespace {

constexpr UINT kTemplate = 9300;

// Controls placed and anchored the way a pane does it in OnInitDialog.
class Pane : public CXTResizeDialog
{
  public:
    Pane() : CXTResizeDialog(kTemplate, nullptr, 0) {}
    CWndT<QLabel> m_fixed, m_grow, m_corner, m_bottom, m_half;
    QLabel m_side; // a window registered with an explicit rectangle

  protected:
    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Control(pDX, 1, m_fixed);
        DDX_Control(pDX, 2, m_grow);
        DDX_Control(pDX, 3, m_corner);
        DDX_Control(pDX, 4, m_bottom);
        DDX_Control(pDX, 5, m_half);
    }
    BOOL OnInitDialog() override
    {
        CXTResizeDialog::OnInitDialog();
        resize(400, 300);
        const int W = width(), H = height();
        m_fixed.MoveWindow(0, 3, 250, 26);
        m_grow.MoveWindow(0, 33, W - 273, H - 68);
        m_corner.MoveWindow(W - 168, H - 32, 100, 32);
        m_bottom.MoveWindow(108, H - 32, 100, 32);
        m_half.MoveWindow(10, 10, 100, 100);
        m_side.setParent(this);
        m_side.setGeometry(1, 1, 1, 1); // placed by the first resize from its reference
        SetResize(1, CXTResizeRect(CXTResizePoint(0, 0), CXTResizePoint(0, 0)));
        SetResize(2, CXTResizeRect(CXTResizePoint(0, 0), CXTResizePoint(1, 1)));
        SetResize(3, CXTResizeRect(CXTResizePoint(1, 1), CXTResizePoint(1, 1)));
        SetResize(4, CXTResizeRect(CXTResizePoint(0, 1), CXTResizePoint(0, 1)));
        SetResize(5, CXTResizeRect(0.5f, 0, 0.5f, 1));
        SetResize(&m_side, CXTResizeRect(CXTResizePoint(1, 0), CXTResizePoint(1, 1)),
                  CRect(W - 267, 33, W, H - 35));
        return TRUE;
    }
};

} // namespace

class TestCXTResize : public QObject
{
    Q_OBJECT
  private Q_SLOTS:
    void initTestCase()
    {
        CDialogTemplate::Register(
            kTemplate,
            [](QDialog* d) {
                for (int id = 1; id <= 5; ++id) {
                    auto* l = new QLabel(d);
                    l->setObjectName(QStringLiteral("id%1").arg(id));
                }
            },
            WS_CHILD | WS_VISIBLE);
    }

    void controlsFollowTheirFractions()
    {
        Pane pane;
        QVERIFY(pane.Create(kTemplate, nullptr));
        QVERIFY(!pane.SetResize(77, CXTResizeRect(0, 0, 1, 1))); // no such control
        pane.resize(500, 360);
        const int W = 500, H = 360;
        QCOMPARE(pane.m_fixed.geometry(), QRect(0, 3, 250, 26));
        QCOMPARE(pane.m_grow.geometry(), QRect(0, 33, W - 273, H - 68));
        QCOMPARE(pane.m_corner.geometry(), QRect(W - 168, H - 32, 100, 32));
        QCOMPARE(pane.m_bottom.geometry(), QRect(108, H - 32, 100, 32));
        QCOMPARE(pane.m_side.geometry(), QRect(W - 267, 33, 267, H - 68));
        QCOMPARE(pane.m_half.geometry(), QRect(60, 10, 100, 160));

        // Smaller than at the start, then back: no drift.
        pane.resize(380, 250);
        QCOMPARE(pane.m_corner.geometry(), QRect(380 - 168, 250 - 32, 100, 32));
        QCOMPARE(pane.m_side.geometry(), QRect(380 - 267, 33, 267, 250 - 68));
        pane.resize(400, 300);
        QCOMPARE(pane.m_grow.geometry(), QRect(0, 33, 400 - 273, 300 - 68));
        QCOMPARE(pane.m_half.geometry(), QRect(10, 10, 100, 100));
    }
};

QTEST_MAIN(TestCXTResize)
#include "tst_cxtresize.moc"
