// Lays out every kit widget in its looks (normal, hover, pressed, disabled, focused, open) and the
// three message-box styles, and writes the picture. Run: kitgallery [output.png]
#include "CRes.h"
#include "CZOREditComboBox.h"
#include "CZorvaEdit.h"
#include "CZorvaFont.h"
#include "CZorvaIconBtton.h"
#include "CZorvaListBox.h"
#include "CZorvaListCtrl.h"
#include "CZorvaStatic.h"
#include "LoadStr.h"
#include "SkinMessageBox.h"
#include "TestSeams.h"
#include "WinDefs.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QDialog>
#include <QEnterEvent>
#include <QPainter>

#include <cstdio>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

constexpr COLORREF Back = RGB(243, 247, 251);

struct ButtonSkin
{
    const char16_t* text;
    CSkinRect glyph;
    CSkinRect face;
    CSkinRect active;
    int width;
};

const CSkinRect NormalFace(408, 107, 32, 32);

// A section title.
void caption(QWidget* canvas, const QString& text, int x, int y)
{
    auto* label = new CZorvaStatic(canvas);
    LOGFONTW font = CZorvaFont::GetInstance().GetMemoPropertyDlgTeamLableFont();
    font.lfHeight = -13;
    label->SetInfo(CSkinRect(), 300, 20, font, RGB(0x3A, 0x4A, 0x5C), 0);
    label->SetWindowTextW(text);
    label->move(x, y);
}

// A small note under a widget.
void note(QWidget* canvas, const QString& text, int x, int y, int width)
{
    auto* label = new CZorvaStatic(canvas);
    label->SetInfo(CSkinRect(), width, 16, CZorvaFont::GetInstance().GetDefaultLableFont(),
                   RGB(0x7A, 0x86, 0x94), ZS_CENTER);
    label->SetWindowTextW(text);
    label->move(x, y);
}

CZorvaIconBtton* button(QWidget* canvas, const ButtonSkin& skin, int x, int y, int style = ZIB_STYLE_FACE)
{
    auto* b = new CZorvaIconBtton(canvas);
    b->SetBkColor(Back);
    b->SetButtonInfo(skin.glyph, skin.face, skin.active, skin.width, style);
    b->SetWindowTextW(QString::fromUtf16(skin.text));
    b->move(x, y);
    return b;
}

// The detail pane's card, drawn as the pane draws it: strip top, stretched middle row, bottom,
// and the separator.
class PaneCard : public QWidget
{
  public:
    using QWidget::QWidget;

  protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        const QImage& skin = CRes::GetInstance().GetCommonImg();
        const int h = height();
        p.fillRect(rect(), QColor(243, 247, 251));
        p.drawImage(QRect(0, 0, 269, 27), skin, QRect(0, 52, 269, 27));
        p.drawImage(QRect(0, 27, 269, h - 55 + 1), skin, QRect(0, 79, 269, 1));
        p.drawImage(QRect(0, h - 27, 269, 27), skin, QRect(0, 80, 269, 27));
        p.drawImage(QPoint(4, 91), skin, QRect(0, 112, 262, 2));
    }
};

QImage grabMessageBox(const QString& text, const QString& title, UINT style)
{
    QImage shot;
    KitTest::ModalDriver driver;
    driver.onNextModal([&shot](QDialog* dialog) {
        shot = dialog->grab().toImage();
        const QList<QAbstractButton*> buttons = dialog->findChildren<QAbstractButton*>();
        if (!buttons.isEmpty())
            buttons.first()->click();
        else
            dialog->done(IDOK);
    });
    SkinMessageBox(text, title, style, 0, nullptr);
    return shot;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QString output = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString::fromUtf8(KIT_GALLERY_OUTPUT);

    QWidget canvas;
    canvas.resize(1000, 720);
    QPalette pal = canvas.palette();
    pal.setColor(QPalette::Window, QColor(243, 247, 251));
    canvas.setPalette(pal);
    canvas.setAutoFillBackground(true);

    // Buttons: each skin, then one button in every look.
    caption(&canvas, u"CZorvaIconBtton"_s, 20, 14);
    const std::vector<ButtonSkin> skins = {
        {u"新 建", CSkinRect(169, 27, 27, 18), NormalFace, CSkinRect(472, 107, 32, 32), 100},
        {u"删 除", CSkinRect(133, 372, 27, 18), NormalFace, CSkinRect(536, 107, 32, 32), 100},
        {u"刷 新", CSkinRect(140, 27, 27, 18), NormalFace, CSkinRect(472, 171, 32, 32), 100},
        {u"保 存", CSkinRect(250, 122, 27, 18), NormalFace, CSkinRect(406, 139, 32, 32), 100},
        {u"编辑组", CSkinRect(243, 26, 27, 18), NormalFace, CSkinRect(440, 107, 32, 32), 95},
        {u"确定", CSkinRect(139, 396, 27, 18), NormalFace, CSkinRect(504, 107, 32, 32), 75},
        {u"取消", CSkinRect(112, 27, 27, 18), NormalFace, CSkinRect(536, 107, 32, 32), 75},
    };
    int x = 20;
    for (const ButtonSkin& skin : skins) {
        button(&canvas, skin, x, 40);
        x += skin.width + 12;
    }
    const ButtonSkin& ok = skins[5];
    const char16_t* looks[] = {u"常态", u"悬停", u"按下", u"禁用", u"焦点"};
    for (int i = 0; i < 5; ++i) {
        CZorvaIconBtton* b = button(&canvas, ok, 20 + i * 95, 88);
        note(&canvas, QString::fromUtf16(looks[i]), 20 + i * 95, 124, 75);
        if (i == 1) {
            QEnterEvent enter(QPointF(10, 10), QPointF(10, 10), QPointF(10, 10));
            QApplication::sendEvent(b, &enter);
        } else if (i == 2) {
            b->setDown(true);
        } else if (i == 3) {
            b->EnableWindow(FALSE);
        } else if (i == 4) {
            b->setFocus();
        }
    }
    button(
        &canvas,
        {u"查找", CSkinRect(193, 28, 27, 18), CSkinRect(440, 139, 32, 32), CSkinRect(472, 139, 32, 32), 80},
        500, 88, ZIB_STYLE_FLAT);
    note(&canvas, u"扁平"_s, 500, 124, 80);

    // Edits.
    caption(&canvas, u"CZorvaEdit"_s, 20, 152);
    auto* search = new CZorvaEdit(&canvas);
    search->SetEditInfo(CSkinRect(193, 28, 27, 18), CSkinRect(193, 118, 25, 24), CSkinRect(), 250, 0);
    search->SetBkColor(Back);
    search->SetDefaultCharFormat(CZorvaFont::GetInstance().GetSearchRichEditDefaultFont());
    search->SetWindowTextW(LoadStr(201));
    search->setGeometry(20, 178, 250, 26);
    auto* title = new CZorvaEdit(&canvas);
    title->SetEditInfo(CSkinRect(), CSkinRect(193, 118, 25, 24), CSkinRect(), 192, 0);
    title->SetBkColor(Back);
    title->SetWindowTextW(u"周五部门例会"_s);
    title->setGeometry(290, 178, 192, 24);
    auto* focused = new CZorvaEdit(&canvas);
    focused->SetEditInfo(CSkinRect(), CSkinRect(193, 118, 25, 24), CSkinRect(), 192, 0);
    focused->SetBkColor(Back);
    focused->SetWindowTextW(u"有焦点的输入框"_s);
    focused->setGeometry(500, 178, 192, 24);
    auto* disabled = new CZorvaEdit(&canvas);
    disabled->SetEditInfo(CSkinRect(), CSkinRect(193, 118, 25, 24), CSkinRect(), 192, 0);
    disabled->SetBkColor(Back);
    disabled->SetWindowTextW(u"禁用"_s);
    disabled->EnableWindow(FALSE);
    disabled->setGeometry(710, 178, 192, 24);
    auto* body = new CZorvaEdit(&canvas);
    body->SetMultiLine(true);
    body->SetEditInfo(CSkinRect(), CSkinRect(193, 118, 25, 24), CSkinRect(), 466, 0);
    body->SetBkColor(Back);
    body->SetWindowTextW(
        u"下午三点在三楼会议室开会。\n带上季度报告和新产品的样品。\n会后和王经理确认下周的出差安排。"_s);
    body->setGeometry(20, 214, 466, 76);

    // Combo boxes: closed with a choice, and open.
    caption(&canvas, u"CZOREditComboBox"_s, 520, 214);
    const QStringList groups{u"工作"_s, u"生活"_s, u"其它"_s, u"全部"_s, u"编辑分类"_s};
    auto* combo = new CZOREditComboBox(&canvas);
    combo->SetEditComboBoxInfo(CSkinRect(215, 25, 27, 18), CSkinRect(193, 118, 25, 24),
                               CSkinRect(107, 158, 27, 54), 192);
    combo->SetBkColor(Back);
    for (const QString& g : groups)
        combo->InsertString(-1, g);
    combo->SetCurSel(0);
    combo->SetEnableInput(FALSE);
    combo->setGeometry(520, 240, 192, 24);
    auto* open = new CZOREditComboBox(&canvas);
    open->SetEditComboBoxInfo(CSkinRect(215, 25, 27, 18), CSkinRect(193, 118, 25, 24),
                              CSkinRect(107, 158, 27, 54), 192);
    open->SetBkColor(Back);
    for (const QString& g : groups)
        open->InsertString(-1, g);
    open->SetCurSel(3);
    open->SetEnableInput(FALSE);
    open->setGeometry(740, 240, 192, 24);

    // Lists.
    caption(&canvas, u"CZorvaListCtrl / CZorvaListBox"_s, 20, 302);
    auto* list = new CZorvaListCtrl(&canvas);
    list->InsertColumn(0, LoadStr(228), 180, ZLC_ALIGN_LEFT, ZLC_HEADER_TEXT);
    list->InsertColumn(1, LoadStr(229), 200, ZLC_ALIGN_LEFT, ZLC_HEADER_TEXT);
    const QStringList memos{u"周五部门例会"_s, u"买菜：西红柿、鸡蛋"_s, u"给妈妈打电话"_s,
                            u"续交房租"_s,     u"读完《三体》第二部"_s, u"体检预约"_s};
    for (int i = 0; i < memos.size(); ++i) {
        list->InsertItem(i, memos.at(i));
        list->SetItemText(i, 1, u"2011-07-0%1 09:3%2"_s.arg(i + 1).arg(i));
        list->SetItemData(i, DWORD_PTR(100 + i));
    }
    list->SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
    list->SetItemState(3, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    list->setGeometry(20, 328, 430, 220);
    auto* box = new CZorvaListBox(&canvas);
    for (const QString& g : {u"工作"_s, u"生活"_s, u"学习"_s, u"旅行计划"_s})
        box->AddString(g);
    box->SetCurSel(1);
    box->setGeometry(470, 328, 200, 150);

    // Labels and the detail pane's skin.
    caption(&canvas, u"CZorvaStatic / CRes"_s, 690, 412);
    auto* card = new PaneCard(&canvas);
    card->setGeometry(690, 436, 269, 130);
    auto* labelTitle = new CZorvaStatic(card);
    labelTitle->SetInfo(CSkinRect(28, 79, 41, 1), 41, 24,
                        CZorvaFont::GetInstance().GetMemoPropertyDlgTeamLableFont(), RGB(0, 0, 0), 0);
    labelTitle->SetWindowTextW(u"标题："_s);
    labelTitle->move(28, 22);
    auto* labelGroup = new CZorvaStatic(card);
    labelGroup->SetInfo(CSkinRect(28, 79, 41, 1), 41, 24,
                        CZorvaFont::GetInstance().GetMemoPropertyDlgTeamLableFont(), RGB(0, 0, 0), 0);
    labelGroup->SetWindowTextW(u"分组："_s);
    labelGroup->move(28, 57);
    auto* cardTitle = new CZorvaEdit(card);
    cardTitle->SetEditInfo(CSkinRect(), CSkinRect(193, 118, 25, 24), CSkinRect(), 162, 0);
    cardTitle->SetBkColor(RGB(233, 242, 252));
    cardTitle->SetDefaultCharFormat(CZorvaFont::GetInstance().GetSearchRichEditDefaultFont());
    cardTitle->SetWindowTextW(LoadStr(222));
    cardTitle->setGeometry(71, 18, 162, 24);
    auto* cardGroup = new CZOREditComboBox(card);
    cardGroup->SetEditComboBoxInfo(CSkinRect(215, 25, 27, 18), CSkinRect(193, 118, 25, 24),
                                   CSkinRect(107, 158, 27, 54), 162);
    cardGroup->SetBkColor(RGB(233, 242, 252));
    cardGroup->InsertString(-1, u"生活"_s);
    cardGroup->SetCurSel(0);
    cardGroup->SetEnableInput(FALSE);
    cardGroup->setGeometry(71, 53, 162, 24);

    canvas.show();
    canvas.activateWindow();
    QApplication::setActiveWindow(&canvas);
    focused->setFocus();
    QApplication::processEvents();
    open->showPopup();
    QApplication::processEvents();

    QImage picture = canvas.grab().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&picture);
    // The open list is a window of its own: put it where it shows, under its box.
    QWidget* popup = open->view()->window();
    if (popup && popup->isVisible())
        painter.drawImage(open->geometry().bottomLeft() + QPoint(0, 2), popup->grab().toImage());
    open->hidePopup();

    // Message boxes: notice, question, warning.
    painter.setPen(QColor(0x3A, 0x4A, 0x5C));
    QFont font = FontFromLogFont(CZorvaFont::GetInstance().GetMemoPropertyDlgTeamLableFont());
    font.setPixelSize(13);
    painter.setFont(font);
    painter.drawText(QPoint(20, 598), u"SkinMessageBox: 0 / 0x24 / 0x30"_s);
    const QImage boxes[] = {
        grabMessageBox(LoadStr(231), LoadStr(221), MB_OK),
        grabMessageBox(LoadStr(234), LoadStr(235), MB_YESNO | MB_ICONQUESTION),
        grabMessageBox(u"分类名称不能为空！"_s, u"输入分类名称"_s, MB_ICONEXCLAMATION),
    };
    int bx = 20;
    const int top = 610;
    int bottom = top;
    for (const QImage& shot : boxes) {
        if (shot.isNull())
            continue;
        painter.fillRect(QRect(bx + 3, top + 3, shot.width(), shot.height()), QColor(0, 30, 60, 30));
        painter.drawImage(QPoint(bx, top), shot);
        painter.setPen(QColor(0xB4, 0xC4, 0xD6));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRect(bx, top, shot.width() - 1, shot.height() - 1));
        bx += shot.width() + 24;
        bottom = std::max(bottom, top + shot.height());
    }
    painter.end();
    picture = picture.copy(0, 0, std::max(picture.width(), bx), std::max(bottom + 16, 0));

    if (!picture.save(output, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(output));
        return 1;
    }
    std::printf("%s\n", qPrintable(output));
    return 0;
}
