#include "CClientRect.h"
#include "CDialogTemplate.h"
#include "CImage.h"
#include "CMemDC.h"
#include "CXTResizeDialog.h"
#include "LastError.h"
#include "TestSeams.h"

#include <QPainter>
#include <QTest>

#include <algorithm>

namespace {

constexpr UINT kTemplate = 9500;

QColor rgb(COLORREF c)
{
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

// An image whose row y is coloured (y, 100, 200), fully opaque, with a half-transparent last row.
QImage strip()
{
    QImage img(10, 6, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 10; ++x)
            img.setPixelColor(x, y, y == 5 ? QColor(255, 0, 0, 128) : QColor(y, 100, 200));
    return img;
}

// A pane that caches a strip in a bitmap once and erases through a buffered DC, as a skinned
// pane does; creation failures are counted like its log lines.
class Pane : public CXTResizeDialog
{
  public:
    Pane() : CXTResizeDialog(kTemplate) {}
    CBitmap m_bmp;
    CImage m_image{strip()};
    std::vector<DWORD> m_errors;
    int m_erased = 0;

    void DrawMemDC()
    {
        CClientDC client(this);
        CDC mem;
        if (!mem.CreateCompatibleDC(&client))
            m_errors.push_back(GetLastError());
        if (!m_bmp.GetSafeHandle()) {
            if (!m_bmp.CreateCompatibleBitmap(&client, 10, 6))
                m_errors.push_back(GetLastError());
            CBitmap* old = mem.SelectObject(&m_bmp);
            mem.FillSolidRect(0, 0, 10, 6, RGB(0, 255, 0));
            m_image.AlphaBlend(&mem, 0, 0, 10, 6, 0, 0, 10, 6);
            mem.SelectObject(old);
        }
    }

  protected:
    BOOL OnEraseBkgnd(CDC* pDC) override
    {
        ++m_erased;
        CClientDC client(this);
        CDC mem;
        mem.CreateCompatibleDC(&client);
        CBitmap* old = mem.SelectObject(&m_bmp);
        const CClientRect rc(this);
        {
            CMemDC buffer(pDC, rc);
            buffer.FillSolidRect(rc, RGB(243, 247, 251));
            buffer.BitBlt(0, 0, 10, 3, &mem, 0, 0, SRCCOPY);
            buffer.StretchBlt(0, 3, 10, rc.Height() - 6, &mem, 0, 3, 10, 1, SRCCOPY);
            buffer.BitBlt(0, rc.Height() - 3, 10, 3, &mem, 0, 3, SRCCOPY);
        }
        mem.SelectObject(old);
        return TRUE;
    }
};

// Erases in blue, then through a buffered DC of an inner rectangle draws red over the whole pane.
class FramedPane : public CXTResizeDialog
{
  public:
    FramedPane() : CXTResizeDialog(kTemplate) {}
    std::vector<bool> m_buffered;

  protected:
    BOOL OnEraseBkgnd(CDC* pDC) override
    {
        const CClientRect rc(this);
        pDC->FillSolidRect(rc, RGB(0, 0, 255));
        CMemDC buffer(pDC, CRect(5, 5, 25, 20));
        m_buffered.push_back(buffer.IsMemDC());
        buffer.FillSolidRect(rc, RGB(200, 0, 0));
        return TRUE;
    }
};

} // namespace

class TestDrawing : public QObject
{
    Q_OBJECT
  private Q_SLOTS:
    void initTestCase()
    {
        CDialogTemplate::Register(
            kTemplate, [](QDialog* d) { d->resize(40, 30); }, WS_CHILD);
    }

    void memoryDcCopiesStretchesAndBlends()
    {
        CDC mem;
        QVERIFY(mem.CreateCompatibleDC(nullptr));
        CBitmap bmp;
        QVERIFY(bmp.CreateCompatibleBitmap(&mem, 20, 20));
        mem.SelectObject(&bmp);
        mem.FillSolidRect(CRect(0, 0, 20, 20), RGB(10, 20, 30));
        QCOMPARE(bmp.image().pixelColor(19, 19), QColor(10, 20, 30));

        CDC src;
        src.CreateCompatibleDC(&mem);
        CBitmap srcBmp;
        srcBmp.CreateCompatibleBitmap(&src, 10, 6);
        srcBmp.image() = strip();
        src.SelectObject(&srcBmp);

        QVERIFY(mem.BitBlt(1, 1, 10, 2, &src, 0, 2));
        QCOMPARE(bmp.image().pixelColor(1, 1), QColor(2, 100, 200));
        QCOMPARE(bmp.image().pixelColor(1, 2), QColor(3, 100, 200));
        QCOMPARE(bmp.image().pixelColor(1, 3), QColor(10, 20, 30)); // two rows only

        // One row stretched over ten: every row is that row, no blending between rows.
        QVERIFY(mem.StretchBlt(0, 5, 10, 10, &src, 0, 4, 10, 1));
        for (int y = 5; y < 15; ++y)
            QCOMPARE(bmp.image().pixelColor(4, y), QColor(4, 100, 200));

        // Source-over: the half-transparent red row mixes with what is there.
        mem.FillSolidRect(0, 0, 20, 20, RGB(0, 0, 255));
        QVERIFY(mem.AlphaBlend(0, 0, 10, 1, &src, 0, 5, 10, 1));
        const QColor mixed = bmp.image().pixelColor(0, 0);
        QVERIFY(qAbs(mixed.red() - 128) <= 2 && qAbs(mixed.blue() - 127) <= 2);
        QVERIFY(!mem.BitBlt(0, 0, 1, 1, nullptr, 0, 0)); // no source
    }

    void bufferedDcShowsItsPictureWhenDestroyed()
    {
        QImage target(30, 30, QImage::Format_ARGB32_Premultiplied);
        target.fill(Qt::white);
        QPainter painter(&target);
        CDC dc(&painter);
        {
            CMemDC buffer(dc, CRect(5, 5, 25, 25));
            QVERIFY(buffer.IsMemDC());
            buffer.FillSolidRect(CRect(5, 5, 25, 25), RGB(200, 0, 0));
            painter.end(); // nothing reached the target yet
            QCOMPARE(target.pixelColor(10, 10), QColor(Qt::white));
            painter.begin(&target);
        }
        painter.end();
        QCOMPARE(target.pixelColor(10, 10), QColor(200, 0, 0));
        QCOMPARE(target.pixelColor(24, 24), QColor(200, 0, 0));
        QCOMPARE(target.pixelColor(25, 25), QColor(Qt::white));
    }

    void onAWindowBeingPaintedTheBufferedDcDrawsInsideItsRectangleOnly()
    {
        FramedPane pane;
        QVERIFY(pane.Create(kTemplate, nullptr));
        pane.resize(40, 30);
        // The window's own back buffer keeps the drawing off the screen: no picture is made, not
        // even when pictures cannot be made.
        KitTest::DrawingFailure failure(8);
        const QImage shot = pane.grab().toImage();
        QVERIFY(!pane.m_buffered.empty());
        QVERIFY(std::none_of(pane.m_buffered.begin(), pane.m_buffered.end(), [](bool b) { return b; }));
        QCOMPARE(failure.failures(), 0);
        QCOMPARE(shot.pixelColor(5, 5), QColor(200, 0, 0));
        QCOMPARE(shot.pixelColor(24, 19), QColor(200, 0, 0));
        for (const QPoint outside : {QPoint(4, 5), QPoint(25, 10), QPoint(10, 20), QPoint(39, 29)})
            QCOMPARE(shot.pixelColor(outside), QColor(0, 0, 255));
    }

    void failingResourcesReportTheirErrorAndDrawingGoesOn()
    {
        KitTest::DrawingFailure failure(1450);
        CDC mem;
        SetLastError(0);
        QCOMPARE(mem.CreateCompatibleDC(nullptr), FALSE);
        QCOMPARE(GetLastError(), DWORD(1450));
        CBitmap bmp;
        QCOMPARE(bmp.CreateCompatibleBitmap(nullptr, 5, 5), FALSE);
        QVERIFY(!bmp.GetSafeHandle());
        QCOMPARE(failure.failures(), 2);

        // Without its buffer a CMemDC draws straight onto the target.
        QImage target(10, 10, QImage::Format_ARGB32_Premultiplied);
        target.fill(Qt::white);
        QPainter painter(&target);
        CDC dc(&painter);
        {
            CMemDC buffer(dc, CRect(0, 0, 10, 10));
            QVERIFY(!buffer.IsMemDC());
            buffer.FillSolidRect(CRect(0, 0, 10, 10), RGB(0, 0, 200));
        }
        painter.end();
        QCOMPARE(target.pixelColor(5, 5), QColor(0, 0, 200));
    }

    void dialogEraseDrawsTheCachedStrip()
    {
        Pane pane;
        QVERIFY(pane.Create(kTemplate, nullptr));
        pane.DrawMemDC();
        QVERIFY(pane.m_errors.empty());
        pane.resize(40, 30);
        const QImage shot = pane.grab().toImage();
        QVERIFY(pane.m_erased > 0);
        QCOMPARE(CClientRect(&pane), CRect(0, 0, 40, 30));
        // Blended over green once into the cache: opaque rows keep their colour.
        QCOMPARE(shot.pixelColor(2, 0), QColor(0, 100, 200));
        QCOMPARE(shot.pixelColor(2, 2), QColor(2, 100, 200));
        for (int y = 3; y < 27; ++y)
            QCOMPARE(shot.pixelColor(2, y), QColor(3, 100, 200));
        QCOMPARE(shot.pixelColor(2, 27), QColor(3, 100, 200));
        QCOMPARE(shot.pixelColor(2, 28), QColor(4, 100, 200));
        QCOMPARE(shot.pixelColor(20, 15), rgb(RGB(243, 247, 251))); // beyond the strip: the fill
    }

    void paneStillErasesWhenItsResourcesFail()
    {
        Pane pane;
        QVERIFY(pane.Create(kTemplate, nullptr));
        {
            KitTest::DrawingFailure failure(8);
            pane.DrawMemDC();
            QCOMPARE(pane.m_errors, (std::vector<DWORD>{8, 8}));
            const QImage shot = pane.grab().toImage();
            QCOMPARE(shot.pixelColor(20, 15), rgb(RGB(243, 247, 251)));
        }
    }
};

QTEST_MAIN(TestDrawing)
#include "tst_drawing.moc"
