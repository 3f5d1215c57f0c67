#include "SkinListStyle.h"

#include "SkinPalette.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QHeaderView>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QScrollBar>
#include <QStyleFactory>
#include <QStyleOption>
#include <QTreeView>

#include <map>

namespace {

const QColor Ink(0x22, 0x2b, 0x36);         // row texts
const QColor SelectedInk(0x14, 0x20, 0x2c); // texts of selected rows
const QColor Paper(0xff, 0xff, 0xff);
const QColor FrameLine(0xc3, 0xd5, 0xea); // the frame, and the rule under the headings
const QColor RowRule(0xee, 0xf2, 0xf7);
const QColor Hovered(0xee, 0xf5, 0xfd);
const QColor Selected(0xd3, 0xe6, 0xfb);
const QColor SelectedInactive(0xe2, 0xed, 0xf9); // the selection while another window is active
const QColor HeadingInk(0x3a, 0x4a, 0x5c);
const QColor HeadingTop(0xfb, 0xfc, 0xfe);
const QColor HeadingBottom(0xe9, 0xf0, 0xf8);
const QColor HeadingRule(0xdb, 0xe4, 0xee); // between headings
const QColor HeaderPaper(0xf2, 0xf6, 0xfb);

constexpr int RowHeight = 28; // without the rule under it
constexpr int HeadingHeight = 28;
constexpr int HeadingPadding = 8;
// The frame's corners: the outer edge of its line and the inner one.
constexpr qreal OuterRadius = 2.5;
constexpr qreal InnerRadius = 1.5;

// `palette` with every role of every group set, so that a child given it keeps it whatever its
// parent is given later.
QPalette Pinned(QPalette palette)
{
    for (int group = 0; group < QPalette::NColorGroups; ++group)
        for (int role = 0; role < QPalette::NColorRoles; ++role)
            if (role != QPalette::NoRole)
                palette.setBrush(QPalette::ColorGroup(group), QPalette::ColorRole(role),
                                 palette.brush(QPalette::ColorGroup(group), QPalette::ColorRole(role)));
    return palette;
}

bool IsHeader(const QWidget* widget)
{
    return qobject_cast<const QHeaderView*>(widget) != nullptr;
}

} // namespace

SkinListStyle::SkinListStyle(QStyle* base, int indent, int padding)
    : QProxyStyle(base), m_indent(indent), m_padding(padding)
{
    setParent(qApp); // lives as long as the application; the widgets that use it hold it weakly
}

SkinListStyle* SkinListStyle::For(int indent, int padding)
{
    static std::map<std::pair<int, int>, QPointer<SkinListStyle>> styles;
    QPointer<SkinListStyle>& style = styles[{indent, padding}];
    if (!style)
        style = new SkinListStyle(QStyleFactory::create(QApplication::style()->name()), indent, padding);
    return style;
}

void SkinListStyle::Dress(QAbstractItemView* view, int indent, int padding)
{
    SkinListStyle* style = For(indent, padding);
    const QPalette plain = Pinned(QApplication::palette());

    QPalette palette = view->palette();
    SetInkAndPaper(palette, Ink, Paper);
    view->setPalette(palette);
    view->setStyle(style);
    view->viewport()->setAttribute(Qt::WA_Hover);
    view->viewport()->setAutoFillBackground(false); // the frame's paper, rounded at the corners
    // The scroll bars look as everywhere else.
    view->verticalScrollBar()->setPalette(plain);
    view->horizontalScrollBar()->setPalette(plain);

    if (auto* tree = qobject_cast<QTreeView*>(view)) {
        QHeaderView* header = tree->header();
        QPalette headerPalette = plain;
        for (const QPalette::ColorRole role : {QPalette::Button, QPalette::Base, QPalette::Window})
            SetAllGroups(headerPalette, role, HeaderPaper);
        header->setPalette(headerPalette);
        QFont font = QApplication::font();
        font.setResolveMask(QFont::AllPropertiesResolved);
        header->setFont(font);
        header->setStyle(style);
    }
}

QSize SkinListStyle::sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                                      const QWidget* widget) const
{
    switch (type) {
    case CT_ItemViewItem:
        return {QProxyStyle::sizeFromContents(type, option, size, widget).width() + m_indent, RowHeight + 1};
    case CT_HeaderSection:
        // The heading's text in its padding, over the rule; what the application's style would
        // make of it is not needed.
        if (const auto* heading = qstyleoption_cast<const QStyleOptionHeader*>(option))
            return {heading->fontMetrics.horizontalAdvance(heading->text) + 2 * HeadingPadding + 1,
                    HeadingHeight + 1};
        break;
    default:
        break;
    }
    return QProxyStyle::sizeFromContents(type, option, size, widget);
}

QRect SkinListStyle::subElementRect(SubElement element, const QStyleOption* option,
                                    const QWidget* widget) const
{
    switch (element) {
    case SE_ItemViewItemCheckIndicator:
    case SE_ItemViewItemDecoration:
    case SE_ItemViewItemText:
    case SE_ItemViewItemFocusRect:
        if (const auto* item = qstyleoption_cast<const QStyleOptionViewItem*>(option)) {
            // Within the indent and above the rule.
            QStyleOptionViewItem inner(*item);
            inner.rect = item->rect.adjusted(m_indent, 0, 0, -1);
            return visualRect(item->direction, item->rect,
                              QProxyStyle::subElementRect(element, &inner, widget));
        }
        break;
    case SE_ShapedFrameContents:
        if (!IsHeader(widget))
            return QProxyStyle::subElementRect(element, option, widget)
                .adjusted(m_padding, m_padding, -m_padding, -m_padding);
        break;
    case SE_HeaderLabel:
        return option->rect.adjusted(HeadingPadding, 0, -HeadingPadding - 1, -1);
    default:
        break;
    }
    return QProxyStyle::subElementRect(element, option, widget);
}

void SkinListStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                                  const QWidget* widget) const
{
    switch (element) {
    case PE_PanelItemViewItem: {
        const QRect& r = option->rect;
        if (option->state & State_Selected)
            painter->fillRect(r, (option->state & State_Active) ? Selected : SelectedInactive);
        else if (option->state & State_MouseOver)
            painter->fillRect(r, Hovered);
        painter->fillRect(r.left(), r.bottom(), r.width(), 1, RowRule);
        return;
    }
    case PE_FrameFocusRect:
        // No focus frame around an item. A tree frames the whole current row, which it draws
        // without naming itself; that frame is the application style's.
        if (widget)
            return;
        break;
    case PE_Frame:
        if (!IsHeader(widget)) {
            // The paper, which shows through the viewport, in a ring one pixel wide.
            const QRectF outer(option->rect);
            QPainterPath paper;
            paper.addRoundedRect(outer, OuterRadius, OuterRadius);
            QPainterPath ring = paper;
            ring.addRoundedRect(outer.adjusted(1, 1, -1, -1), InnerRadius, InnerRadius);
            painter->save();
            painter->setRenderHint(QPainter::Antialiasing);
            painter->fillPath(paper, Paper);
            painter->fillPath(ring, FrameLine);
            painter->restore();
            return;
        }
        break;
    default:
        break;
    }
    QProxyStyle::drawPrimitive(element, option, painter, widget);
}

void SkinListStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                                const QWidget* widget) const
{
    switch (element) {
    case CE_ItemViewItem:
        if (const auto* item = qstyleoption_cast<const QStyleOptionViewItem*>(option)) {
            QStyleOptionViewItem inked(*item);
            SetAllGroups(inked.palette, QPalette::HighlightedText, SelectedInk);
            QProxyStyle::drawControl(element, &inked, painter, widget);
            return;
        }
        break;
    case CE_Header:
        // The list never sorts: a heading is its section and its label.
        if (const auto* heading = qstyleoption_cast<const QStyleOptionHeader*>(option)) {
            drawControl(CE_HeaderSection, heading, painter, widget);
            QStyleOptionHeader label(*heading);
            label.rect = subElementRect(SE_HeaderLabel, heading, widget);
            drawControl(CE_HeaderLabel, &label, painter, widget);
            return;
        }
        break;
    case CE_HeaderSection: {
        const QRect& r = option->rect;
        QLinearGradient shade(0, r.top(), 0, r.top() + r.height());
        shade.setColorAt(0, HeadingTop);
        shade.setColorAt(1, HeadingBottom);
        painter->fillRect(r, shade);
        painter->fillRect(r.left(), r.bottom(), r.width(), 1, FrameLine);
        painter->fillRect(r.right(), r.top(), 1, r.height(), HeadingRule);
        return;
    }
    case CE_HeaderLabel:
        if (const auto* heading = qstyleoption_cast<const QStyleOptionHeader*>(option)) {
            QStyleOptionHeader inked(*heading);
            SetAllGroups(inked.palette, QPalette::ButtonText, HeadingInk);
            QProxyStyle::drawControl(element, &inked, painter, widget);
            return;
        }
        break;
    default:
        break;
    }
    QProxyStyle::drawControl(element, option, painter, widget);
}
