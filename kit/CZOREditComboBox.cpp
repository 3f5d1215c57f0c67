#include "CZOREditComboBox.h"

#include "CRes.h"
#include "CZorvaFont.h"
#include "MessageTarget.h"
#include "SkinPalette.h"
#include "WinMessage.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCompleter>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>

namespace {

constexpr int ArrowWidth = 27;
constexpr int StateHeight = 18;
constexpr int DefaultHeight = 24;
// A release this close to the press that opened the list belongs to the same click.
constexpr int ClickSlop = 9;

const QColor FocusBorder(0x5B, 0x96, 0xD6);

QColor qtColour(COLORREF c)
{
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

const QString& popupStyle()
{
    static const QString style =
        QStringLiteral("QAbstractItemView { background: #ffffff; border: 1px solid #9fbbdb; outline: 0;"
                       "  color: #222b36; selection-background-color: #d3e6fb; selection-color: #14202c; }"
                       "QAbstractItemView::item { min-height: 26px; padding-left: 6px; }"
                       "QAbstractItemView::item:hover { background: #eef5fd; }");
    return style;
}

} // namespace

CZOREditComboBox::CZOREditComboBox(QWidget* parent) : CWndT<QComboBox>(parent)
{
    // Editable, without the completer a combo box gives the line edit it makes for itself: the
    // entries are never completed into the field. A line edit that comes with a completer keeps
    // QComboBox from making one (with its model of the entries, wired to ours); this stand-in
    // goes as soon as it has done that.
    auto* edit = new QLineEdit(this);
    edit->setPalette(palette());
    auto* standIn = new QCompleter(edit);
    edit->setCompleter(standIn);
    setLineEdit(edit);
    delete standIn;
    setInsertPolicy(QComboBox::NoInsert);
    setAttribute(Qt::WA_Hover);
    setMaxVisibleItems(12);
    QFont font = FontFromLogFont(CZorvaFont::GetInstance().GetDefaultLableFont());
    font.setPixelSize(13);
    setFont(font);
    view()->setTextElideMode(Qt::ElideRight);

    // The text on the field's own frame.
    edit->setFrame(false);
    QPalette palette = edit->palette();
    SetInkAndPaper(palette, QColor(0x22, 0x2b, 0x36), Qt::transparent);
    SetAllGroups(palette, QPalette::Highlight, QColor(0xb9, 0xd6, 0xf7));
    SetAllGroups(palette, QPalette::HighlightedText, QColor(0x14, 0x20, 0x2c));
    edit->setPalette(palette);
    edit->installEventFilter(this);

    connect(this, &QComboBox::activated, this,
            [this] { PostMessage(MessageTarget(this), WM_ZORVA_COMBOSELCHANGE, 0, 0); });
    connect(edit, &QLineEdit::textChanged, this, [this] {
        if (m_eventMask & ENM_CHANGE)
            NotifyParent(this, EN_CHANGE);
    });
    connect(edit, &QLineEdit::selectionChanged, this, [this] {
        if (m_eventMask & ENM_SELCHANGE)
            NotifyParent(this, EN_SELCHANGE);
    });
}

void CZOREditComboBox::ResetContent()
{
    clear();
    lineEdit()->clear();
}

int CZOREditComboBox::InsertString(int nIndex, const QString& text)
{
    const int at = (nIndex < 0 || nIndex > count()) ? count() : nIndex;
    const int before = currentIndex();
    const QString shown = lineEdit()->text();
    insertItem(at, text);
    // A combo box selects its first entry by itself; an inserted entry selects nothing here.
    if (before == -1 && currentIndex() != -1) {
        const QSignalBlocker blocker(this);
        setCurrentIndex(-1);
        lineEdit()->setText(shown);
    }
    return at;
}

int CZOREditComboBox::DeleteString(int nIndex)
{
    if (nIndex < 0 || nIndex >= count())
        return CB_ERR;
    removeItem(nIndex);
    return count();
}

int CZOREditComboBox::FindString(int nStartAfter, const QString& text) const
{
    const int n = count();
    if (n == 0)
        return CB_ERR;
    const int first = (nStartAfter < 0 || nStartAfter >= n) ? 0 : nStartAfter + 1;
    for (int k = 0; k < n; ++k) {
        const int i = (first + k) % n;
        if (itemText(i) == text)
            return i;
    }
    return CB_ERR;
}

QString CZOREditComboBox::GetLBText(int nIndex) const
{
    return nIndex >= 0 && nIndex < count() ? itemText(nIndex) : QString();
}

int CZOREditComboBox::GetCurSel() const
{
    return currentIndex() >= 0 ? currentIndex() : CB_ERR;
}

int CZOREditComboBox::SetCurSel(int nIndex)
{
    if (nIndex < 0 || nIndex >= count()) {
        setCurrentIndex(-1);
        lineEdit()->clear();
        return CB_ERR;
    }
    setCurrentIndex(nIndex);
    lineEdit()->setText(itemText(nIndex));
    return nIndex;
}

int CZOREditComboBox::GetCount() const
{
    return count();
}

void CZOREditComboBox::SetEditComboBoxInfo(const CSkinRect& arrowGlyph, const CSkinRect& frame,
                                           const CSkinRect& arrowStates, int width)
{
    m_arrowGlyph = arrowGlyph;
    m_frame = frame;
    m_arrowStates = arrowStates;
    m_width = width;
    if (width > 0)
        resize(width, DefaultHeight);
    updateGeometry();
    update();
}

void CZOREditComboBox::SetBkColor(COLORREF colour)
{
    m_bkColour = qtColour(colour);
    update();
}

void CZOREditComboBox::SetEnableInput(BOOL enable)
{
    m_inputEnabled = enable != FALSE;
    lineEdit()->setReadOnly(!m_inputEnabled);
    lineEdit()->setCursor(m_inputEnabled ? Qt::IBeamCursor : Qt::ArrowCursor);
    lineEdit()->setContextMenuPolicy(m_inputEnabled ? Qt::DefaultContextMenu : Qt::NoContextMenu);
}

void CZOREditComboBox::LimitText(int nChars)
{
    lineEdit()->setMaxLength(nChars > 0 ? nChars : 32767);
}

DWORD CZOREditComboBox::SetEventMask(DWORD mask)
{
    const DWORD old = m_eventMask;
    m_eventMask = mask;
    return old;
}

QSize CZOREditComboBox::sizeHint() const
{
    return {m_width > 0 ? m_width : 160, DefaultHeight};
}

QSize CZOREditComboBox::minimumSizeHint() const
{
    return {ArrowWidth + 24, DefaultHeight};
}

QRect CZOREditComboBox::arrowRect() const
{
    return QRect(width() - ArrowWidth - 1, 1, ArrowWidth, height() - 2);
}

void CZOREditComboBox::placeEdit()
{
    lineEdit()->setGeometry(
        QRect(7, 1, std::max(0, width() - 7 - ArrowWidth - 2), std::max(0, height() - 2)));
}

void CZOREditComboBox::resizeEvent(QResizeEvent* event)
{
    QComboBox::resizeEvent(event);
    placeEdit();
}

void CZOREditComboBox::showEvent(QShowEvent* event)
{
    QComboBox::showEvent(event);
    placeEdit();
}

bool CZOREditComboBox::event(QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress && isEnabled() &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        // Anywhere outside the field (the drop-down button, the border) opens the list.
        openFromClick(static_cast<QMouseEvent*>(event)->globalPosition().toPoint());
        event->accept();
        return true;
    }
    const bool handled = QComboBox::event(event);
    switch (event->type()) {
    case QEvent::HoverEnter:
    case QEvent::HoverLeave:
    case QEvent::HoverMove:
    case QEvent::EnabledChange:
        update();
        break;
    case QEvent::FontChange:
    case QEvent::StyleChange:
    case QEvent::LayoutRequest:
        placeEdit();
        break;
    default:
        break;
    }
    return handled;
}

void CZOREditComboBox::openFromClick(QPoint globalPos)
{
    // The list opens on the press. Under a window system the release of the same click then
    // goes to the list's popup, whose own handling closes it (the press came here, not through
    // the combo box's mouse handling, which would have told the popup to expect that release).
    // The popup's release is therefore watched here, and the opening click's one swallowed.
    if (!m_popupWatched) {
        view()->viewport()->installEventFilter(this);
        if (QWidget* container = view()->parentWidget())
            container->installEventFilter(this);
        m_popupWatched = true;
    }
    m_openingClick = true;
    m_openingClickPos = globalPos;
    m_openingClickTime.start();
    showPopup();
}

void CZOREditComboBox::showPopup()
{
    // The list gets its look when it first opens: its style sheet brings in Qt's style-sheet
    // engine, which nothing needs before that.
    if (view()->styleSheet().isEmpty())
        view()->setStyleSheet(popupStyle());
    QComboBox::showPopup();
}

void CZOREditComboBox::hidePopup()
{
    m_openingClick = false;
    QComboBox::hidePopup();
}

bool CZOREditComboBox::filterPopupMouse(QEvent* event)
{
    if (!m_openingClick)
        return false;
    const auto* mouse = static_cast<QMouseEvent*>(event);
    const int moved = (mouse->globalPosition().toPoint() - m_openingClickPos).manhattanLength();
    if (event->type() == QEvent::MouseMove) {
        // Dragging to an entry and releasing there picks it.
        if (moved > ClickSlop)
            m_openingClick = false;
        return false;
    }
    if (event->type() != QEvent::MouseButtonRelease)
        return false;
    m_openingClick = false;
    return mouse->button() == Qt::LeftButton && moved <= ClickSlop &&
           m_openingClickTime.elapsed() < QApplication::doubleClickInterval();
}

bool CZOREditComboBox::eventFilter(QObject* watched, QEvent* event)
{
    if (m_popupWatched && (watched == view()->viewport() || watched == view()->parentWidget())) {
        switch (event->type()) {
        case QEvent::MouseMove:
        case QEvent::MouseButtonRelease:
            if (filterPopupMouse(event))
                return true;
            break;
        default:
            break;
        }
        return QComboBox::eventFilter(watched, event);
    }
    if (watched == lineEdit()) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            if (!m_inputEnabled && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
                openFromClick(static_cast<QMouseEvent*>(event)->globalPosition().toPoint());
                return true;
            }
            break;
        case QEvent::FocusIn:
        case QEvent::FocusOut:
            update(); // the frame shows the focus
            break;
        default:
            break;
        }
    }
    return QComboBox::eventFilter(watched, event);
}

void CZOREditComboBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (m_bkColour)
        painter.fillRect(rect(), *m_bkColour);
    if (!isEnabled())
        painter.setOpacity(0.6);

    const CRes& skin = CRes::GetInstance();
    if (const QImage frame = skin.Skin(m_frame); !frame.isNull()) {
        CRes::DrawNinePatch(painter, rect(), frame, QMargins(6, 6, 6, 6));
    } else {
        painter.setPen(QColor(0xAF, 0xC1, 0xD6));
        painter.setBrush(Qt::white);
        painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 3.5, 3.5);
    }
    if (lineEdit()->hasFocus()) {
        painter.setPen(QPen(FocusBorder, 1.0));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 3.5, 3.5);
    }

    // Drop-down button: its state background, then the glyph.
    const QRect arrow = arrowRect();
    const QRect states = m_arrowStates.toQRect();
    if (!m_arrowStates.isEmpty() && states.height() >= 3 * StateHeight) {
        const bool pressed = view()->isVisible();
        const int state = pressed ? 2 : (underMouse() && isEnabled() ? 1 : 0);
        const QImage cell =
            skin.Skin(QRect(states.x(), states.y() + state * StateHeight, states.width(), StateHeight));
        if (!cell.isNull())
            CRes::DrawNinePatch(painter, arrow, cell, QMargins(4, 4, 4, 4));
    }
    if (const QImage glyph = skin.Skin(m_arrowGlyph); !glyph.isNull()) {
        const QPoint at(arrow.x() + (arrow.width() - glyph.width()) / 2,
                        arrow.y() + (arrow.height() - glyph.height()) / 2);
        painter.drawImage(at, glyph);
    } else {
        painter.setPen(QPen(QColor(0x5A, 0x6B, 0x7C), 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        const QPointF c = QRectF(arrow).center();
        painter.drawPolyline(QPolygonF{c + QPointF(-4, -2), c + QPointF(0, 2), c + QPointF(4, -2)});
    }
}
