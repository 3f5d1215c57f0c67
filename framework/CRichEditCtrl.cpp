#include "CRichEditCtrl.h"

#include "WinMessage.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

// One operation on the control: an input event it handles or a call on it. The notifications
// it causes wait until it has returned, so that no handler runs while Qt is still inside the
// edit (a handler that sets the text or the format would take the paragraph, its layout or the
// caret away from under the key press or paste that is being carried out). Notifications still
// waiting from a change made outside any operation go out first, at the start.
class CRichEditCtrl::Operation
{
  public:
    explicit Operation(CRichEditCtrl* edit) : m_edit(edit)
    {
        if (m_edit->m_nOperation == 0)
            m_edit->deliverPending();
        if (m_edit)
            ++m_edit->m_nOperation;
    }
    ~Operation()
    {
        if (m_edit && --m_edit->m_nOperation == 0)
            m_edit->deliverPending();
    }
    Operation(const Operation&) = delete;
    Operation& operator=(const Operation&) = delete;

  private:
    QPointer<CRichEditCtrl> m_edit;
};

// Marks a change made by a call on the control rather than by the user: its EN_CHANGE is sent
// once, when the call is done, and only an edit operation (not SetWindowTextW) sets the
// modified flag.
class CRichEditCtrl::ProgramChange
{
  public:
    ProgramChange(CRichEditCtrl* edit, bool isEdit) : m_operation(edit), m_edit(edit)
    {
        if (m_edit->m_nProgramChange++ == 0) {
            m_edit->m_bProgramChanged = false;
            m_edit->m_bProgramChangeIsEdit = isEdit;
        }
    }
    ~ProgramChange()
    {
        if (--m_edit->m_nProgramChange > 0 || !m_edit->m_bProgramChanged)
            return;
        m_edit->m_bProgramChanged = false;
        if (m_edit->m_bProgramChangeIsEdit)
            m_edit->m_bModified = true;
        m_edit->notifyChange();
    }
    ProgramChange(const ProgramChange&) = delete;
    ProgramChange& operator=(const ProgramChange&) = delete;

  private:
    Operation m_operation; // ends after the destructor above has queued the EN_CHANGE
    CRichEditCtrl* m_edit;
};

namespace {

bool isHighSurrogate(QChar c)
{
    return c.isHighSurrogate();
}

// Whether merging `format` into the whole document would leave it as it is: every piece of text
// has the format's properties, and so has every paragraph break but the last (the first
// paragraph's own format lies outside the document's text and is not merged into).
bool carriesFormat(const QTextDocument& doc, const QTextCharFormat& format)
{
    const auto carries = [&format](const QTextCharFormat& f) {
        QTextCharFormat merged = f;
        merged.merge(format);
        return merged == f;
    };
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        if (block != doc.begin() && !carries(block.charFormat()))
            return false;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            if (!carries(it.fragment().charFormat()))
                return false;
        }
    }
    return true;
}

QString normaliseBreaks(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    text.replace(QChar(QChar::ParagraphSeparator), QLatin1Char('\n'));
    text.replace(QChar(QChar::LineSeparator), QLatin1Char('\n'));
    return text;
}

} // namespace

CRichEditCtrl::CRichEditCtrl(QWidget* parent) : CWndT<QTextEdit>(parent)
{
    setAcceptRichText(false);
    setTabChangesFocus(true);
    setUndoRedoEnabled(true);
    document()->setDocumentMargin(2);
    SetMultiLine(false);
    connect(document(), &QTextDocument::contentsChanged, this, &CRichEditCtrl::onContentsChanged);
    connect(document(), &QTextDocument::contentsChange, this, &CRichEditCtrl::keepShapedText);
    keepShapedText(0, 0, document()->characterCount());
    connect(this, &QTextEdit::cursorPositionChanged, this, &CRichEditCtrl::onSelectionMoved);
    connect(this, &QTextEdit::selectionChanged, this, &CRichEditCtrl::onSelectionMoved);
    m_defaultFormat = currentCharFormat();
    m_cfDefault = CharFormatFromQt(m_defaultFormat);
}

CRichEditCtrl::~CRichEditCtrl() = default;

QString CRichEditCtrl::windowText() const
{
    return toPlainText();
}

void CRichEditCtrl::setWindowText(const QString& text)
{
    QString value = normaliseBreaks(text);
    if (!m_bMultiLine)
        value = value.section(QLatin1Char('\n'), 0, 0);
    value = fitted(value, int(m_nLimit));
    ProgramChange change(this, false);
    m_bModified = false; // before the notification goes out
    if (value != toPlainText()) {
        setPlainText(value);
        applyDefaultFormat();
        moveCursor(QTextCursor::End);
    }
}

void CRichEditCtrl::LimitText(long maxChars)
{
    m_nLimit = maxChars > 0 ? maxChars : kDefaultLimit;
}

long CRichEditCtrl::GetTextLength() const
{
    return long(toPlainText().size());
}

void CRichEditCtrl::GetSel(long& start, long& end) const
{
    const QTextCursor c = textCursor();
    start = c.selectionStart();
    end = c.selectionEnd();
}

void CRichEditCtrl::GetSel(CHARRANGE& range) const
{
    long s = 0, e = 0;
    GetSel(s, e);
    range.cpMin = LONG(s);
    range.cpMax = LONG(e);
}

void CRichEditCtrl::SetSel(long start, long end)
{
    Operation operation(this);
    QTextCursor c = textCursor();
    const long length = GetTextLength();
    if (start < 0) {
        c.clearSelection();
        setTextCursor(c);
        return;
    }
    if (end < 0 || end > length)
        end = length;
    start = std::min(start, length);
    c.setPosition(int(start));
    c.setPosition(int(end), QTextCursor::KeepAnchor);
    setTextCursor(c);
}

QString CRichEditCtrl::GetSelText() const
{
    return normaliseBreaks(textCursor().selectedText());
}

void CRichEditCtrl::ReplaceSel(const QString& text, BOOL canUndo)
{
    QString value = normaliseBreaks(text);
    if (!m_bMultiLine)
        value = value.section(QLatin1Char('\n'), 0, 0);
    value = fitted(value, room());
    Operation operation(this); // the handlers see the caret placed after the new text
    // A replacement that cannot be undone also ends what could be undone before it: an undo must
    // never bring back text the program has replaced (another memo's body, say).
    const bool undoWas = document()->isUndoRedoEnabled();
    if (!canUndo)
        document()->setUndoRedoEnabled(false);
    QTextCursor c = textCursor();
    const QTextCharFormat format = currentCharFormat().isValid() ? currentCharFormat() : m_defaultFormat;
    if (!canUndo && wholeTextAlready(c, value, format)) {
        // Nothing would change but the caret and the undo history: no new layout of the text.
        c.setPosition(c.selectionEnd());
    } else {
        ProgramChange change(this, true);
        c.insertText(value, format);
    }
    setTextCursor(c);
    document()->setUndoRedoEnabled(undoWas);
}

bool CRichEditCtrl::wholeTextAlready(const QTextCursor& selection, const QString& value,
                                     const QTextCharFormat& format) const
{
    const QTextDocument* doc = document();
    if (selection.selectionStart() != 0 || selection.selectionEnd() != doc->characterCount() - 1)
        return false;
    QString raw = value;
    raw.replace(QLatin1Char('\n'), QChar(QChar::ParagraphSeparator));
    if (raw != doc->toRawText())
        return false;
    const QTextBlockFormat blockFormat = doc->begin().blockFormat();
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
        if (block.blockFormat() != blockFormat)
            return false;
        for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat() != format)
                return false;
    }
    return true;
}

void CRichEditCtrl::Clear()
{
    if (!textCursor().hasSelection() || isReadOnly())
        return;
    ProgramChange change(this, true);
    textCursor().removeSelectedText();
}

void CRichEditCtrl::Cut()
{
    if (!textCursor().hasSelection() || isReadOnly())
        return;
    ProgramChange change(this, true);
    cut();
}

void CRichEditCtrl::Copy() const
{
    if (textCursor().hasSelection())
        QApplication::clipboard()->setText(GetSelText());
}

void CRichEditCtrl::Paste()
{
    if (isReadOnly())
        return;
    ProgramChange change(this, true);
    paste();
}

BOOL CRichEditCtrl::CanPaste() const
{
    const QMimeData* data = QApplication::clipboard()->mimeData();
    return data && data->hasText() ? TRUE : FALSE;
}

void CRichEditCtrl::Undo()
{
    Operation operation(this);
    undo();
}

BOOL CRichEditCtrl::CanUndo() const
{
    return document()->isUndoAvailable() ? TRUE : FALSE;
}

void CRichEditCtrl::keepShapedText(int from, int /*removed*/, int added)
{
    // Qt shapes a paragraph again for every caret placement, selection and paint unless its
    // layout keeps the glyphs; the texts here are short, so every paragraph keeps them. The
    // document drops them whenever a paragraph's text or format changes.
    const QTextDocument* doc = document();
    const QTextBlock last = doc->findBlock(from + added);
    for (QTextBlock block = doc->findBlock(from); block.isValid(); block = block.next()) {
        if (QTextLayout* layout = block.layout())
            layout->setCacheEnabled(true);
        if (block == last)
            break;
    }
}

void CRichEditCtrl::EmptyUndoBuffer()
{
    document()->clearUndoRedoStacks();
}

DWORD CRichEditCtrl::SetEventMask(DWORD mask)
{
    const DWORD old = m_dwEventMask;
    m_dwEventMask = mask;
    GetSel(m_lastSel);
    return old;
}

BOOL CRichEditCtrl::SetDefaultCharFormat(const CHARFORMATW& format)
{
    const QTextCharFormat f = CharFormatToQt(format);
    m_defaultFormat.merge(f);
    m_cfDefault = CharFormatFromQt(m_defaultFormat);
    applyDefaultFormat();
    return TRUE;
}

DWORD CRichEditCtrl::GetDefaultCharFormat(CHARFORMATW& format) const
{
    format = m_cfDefault;
    return format.dwMask;
}

BOOL CRichEditCtrl::SetSelectionCharFormat(const CHARFORMATW& format)
{
    QTextCursor c = textCursor();
    if (!c.hasSelection()) {
        mergeCurrentCharFormat(CharFormatToQt(format));
        return TRUE;
    }
    c.mergeCharFormat(CharFormatToQt(format));
    return TRUE;
}

COLORREF CRichEditCtrl::SetBackgroundColor(BOOL useSystemColour, COLORREF colour)
{
    QPalette pal = palette();
    const QColor old = pal.color(QPalette::Base);
    const QColor now = useSystemColour ? QApplication::palette().color(QPalette::Base)
                                       : QColor(GetRValue(colour), GetGValue(colour), GetBValue(colour));
    pal.setColor(QPalette::Base, now);
    setPalette(pal);
    return RGB(old.red(), old.green(), old.blue());
}

void CRichEditCtrl::SetMultiLine(bool multiLine)
{
    m_bMultiLine = multiLine;
    setLineWrapMode(multiLine ? QTextEdit::WidgetWidth : QTextEdit::NoWrap);
    setVerticalScrollBarPolicy(multiLine ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    updateLineMargins();
}

void CRichEditCtrl::adoptTemplateStyle(const QWidget* templateControl)
{
    if (!templateControl)
        return;
    const QVariant explicitStyle = templateControl->property("multiLine");
    if (explicitStyle.isValid())
        SetMultiLine(explicitStyle.toBool());
    else if (auto* e = qobject_cast<const QTextEdit*>(templateControl))
        SetMultiLine(!qobject_cast<const CRichEditCtrl*>(e) ||
                     static_cast<const CRichEditCtrl*>(e)->IsMultiLine());
    else if (qobject_cast<const QPlainTextEdit*>(templateControl))
        SetMultiLine(true);
    if (auto* e = qobject_cast<const QTextEdit*>(templateControl))
        setReadOnly(e->isReadOnly());
}

LRESULT CRichEditCtrl::SendMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CUT:
        Cut();
        return 0;
    case WM_COPY:
        Copy();
        return 0;
    case WM_PASTE:
        Paste();
        return 0;
    case WM_SETREDRAW:
        SetRedraw(wParam != 0);
        return 0;
    case EM_SETSEL:
        SetSel(long(LPARAM(wParam) == -1 ? -1 : long(wParam)), long(lParam));
        return 0;
    case EM_GETMODIFY:
        return GetModify();
    case EM_SETMODIFY:
        SetModify(wParam != 0);
        return 0;
    case EM_LIMITTEXT:
    case EM_EXLIMITTEXT:
        LimitText(long(message == EM_LIMITTEXT ? wParam : WPARAM(lParam)));
        return 0;
    case EM_SETEVENTMASK:
        return LRESULT(SetEventMask(DWORD(lParam)));
    case EM_GETEVENTMASK:
        return LRESULT(GetEventMask());
    default:
        return ::SendMessage(this, message, wParam, lParam);
    }
}

void CRichEditCtrl::MapCommand(UINT id, std::function<void()> handler)
{
    m_commands[id] = std::move(handler);
}

bool CRichEditCtrl::OnControlNotify(int id, UINT code, QWidget* /*control*/, LRESULT* result)
{
    *result = 0;
    if (code != BN_CLICKED)
        return false;
    const auto it = m_commands.find(UINT(id));
    if (it == m_commands.end())
        return false;
    const auto handler = it->second;
    handler();
    return true;
}

void CRichEditCtrl::OnContextMenu(QWidget* /*pWnd*/, QPoint /*pos*/)
{
}

int CRichEditCtrl::room() const
{
    const QTextCursor c = textCursor();
    const int selected = c.selectionEnd() - c.selectionStart();
    return std::max(0, int(m_nLimit) - (int(toPlainText().size()) - selected));
}

QString CRichEditCtrl::fitted(QString text, int room) const
{
    if (text.size() <= room)
        return text;
    int n = std::max(0, room);
    if (n > 0 && isHighSurrogate(text.at(n - 1)))
        --n; // never keep half of a pair
    text.truncate(n);
    return text;
}

void CRichEditCtrl::keyPressEvent(QKeyEvent* e)
{
    Operation operation(this);
    const bool enter = e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
    if (enter && (!m_bMultiLine || (e->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))) {
        e->ignore(); // the dialog's default button
        return;
    }
    if (e->key() == Qt::Key_Escape) {
        e->ignore();
        return;
    }
    QString typed = enter ? QStringLiteral("\n") : e->text();
    const bool printable = !typed.isEmpty() && !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) &&
                           std::all_of(typed.cbegin(), typed.cend(),
                                       [](QChar c) { return c == u'\n' || c.unicode() >= 0x20; }) &&
                           typed != QStringLiteral("\x7f");
    if (printable && !isReadOnly()) {
        int space = room();
        // A high surrogate typed on its own needs room for its low half as well.
        const int needed = int(typed.size()) + (isHighSurrogate(typed.back()) ? 1 : 0);
        if (needed > space) {
            e->accept(); // refused: the control is full
            return;
        }
    }
    QTextEdit::keyPressEvent(e);
}

void CRichEditCtrl::inputMethodEvent(QInputMethodEvent* e)
{
    Operation operation(this);
    const QString commit = e->commitString();
    if (!commit.isEmpty()) {
        QString value = normaliseBreaks(commit);
        if (!m_bMultiLine)
            value = value.section(QLatin1Char('\n'), 0, 0);
        value = fitted(value, room());
        if (value != commit) {
            QInputMethodEvent cut(e->preeditString(), e->attributes());
            cut.setCommitString(value, e->replacementStart(), e->replacementLength());
            QTextEdit::inputMethodEvent(&cut);
            return;
        }
    }
    QTextEdit::inputMethodEvent(e);
}

bool CRichEditCtrl::canInsertFromMimeData(const QMimeData* source) const
{
    return source && source->hasText();
}

void CRichEditCtrl::insertFromMimeData(const QMimeData* source)
{
    if (!source || !source->hasText() || isReadOnly())
        return;
    Operation operation(this); // the handlers see the caret placed after the pasted text
    QString value = normaliseBreaks(source->text());
    if (!m_bMultiLine)
        value = value.section(QLatin1Char('\n'), 0, 0);
    value = fitted(value, room());
    if (value.isEmpty() && !textCursor().hasSelection())
        return;
    QTextCursor c = textCursor();
    c.insertText(value, currentCharFormat());
    setTextCursor(c);
    ensureCursorVisible();
}

QMimeData* CRichEditCtrl::createMimeDataFromSelection() const
{
    auto* data = new QMimeData; // ownership passes to the clipboard or the drag
    data->setText(GetSelText());
    return data;
}

bool CRichEditCtrl::viewportEvent(QEvent* e)
{
    switch (e->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Drop: {
        // Caret placement, selection by the mouse, a drop (which may remove the dragged text first).
        Operation operation(this);
        return QTextEdit::viewportEvent(e);
    }
    default:
        return QTextEdit::viewportEvent(e);
    }
}

void CRichEditCtrl::focusInEvent(QFocusEvent* e)
{
    Operation operation(this);
    QTextEdit::focusInEvent(e);
    if (e->reason() == Qt::PopupFocusReason)
        return;
    if (!m_bMultiLine && (e->reason() == Qt::TabFocusReason || e->reason() == Qt::BacktabFocusReason))
        selectAll();
    notify(EN_SETFOCUS);
}

void CRichEditCtrl::focusOutEvent(QFocusEvent* e)
{
    Operation operation(this);
    QTextEdit::focusOutEvent(e);
    if (e->reason() != Qt::PopupFocusReason)
        notify(EN_KILLFOCUS);
}

void CRichEditCtrl::contextMenuEvent(QContextMenuEvent* e)
{
    OnContextMenu(this, e->globalPos());
    e->accept();
}

void CRichEditCtrl::resizeEvent(QResizeEvent* e)
{
    QTextEdit::resizeEvent(e);
    updateLineMargins();
}

void CRichEditCtrl::updateLineMargins()
{
    if (m_bMultiLine) {
        setViewportMargins(0, 0, 0, 0);
        return;
    }
    // One line, centred vertically in the control.
    const int line = fontMetrics().height() + 2 * int(document()->documentMargin());
    const int inner = contentsRect().height();
    const int top = std::max(0, (inner - line) / 2);
    setViewportMargins(0, top, 0, std::max(0, inner - line - top));
}

void CRichEditCtrl::applyDefaultFormat()
{
    const QSignalBlocker block(this); // a format is no selection change
    // Every change of the formats or of the font lays the whole text out again, so only what
    // would change is changed: the text set by setWindowText already carries the format.
    if (!carriesFormat(*document(), m_defaultFormat)) {
        QTextCursor all(document());
        all.select(QTextCursor::Document);
        all.mergeCharFormat(m_defaultFormat);
    }
    QTextCharFormat current = currentCharFormat();
    current.merge(m_defaultFormat);
    setCurrentCharFormat(current);
    if (const QFont font = m_defaultFormat.font(); document()->defaultFont() != font)
        document()->setDefaultFont(font);
    if (m_defaultFormat.hasProperty(QTextFormat::ForegroundBrush)) {
        QPalette pal = palette();
        pal.setColor(QPalette::Text, m_defaultFormat.foreground().color());
        setPalette(pal);
    }
    updateLineMargins();
}

void CRichEditCtrl::onContentsChanged()
{
    const QString now = toPlainText();
    if (now == m_lastText)
        return; // formats only
    m_lastText = now;
    if (m_nProgramChange > 0) {
        m_bProgramChanged = true;
        return;
    }
    m_bModified = true;
    notifyChange();
}

void CRichEditCtrl::notifyChange()
{
    if (!(m_dwEventMask & ENM_CHANGE) || m_bInChangeNotification)
        return;
    if (std::find(m_pending.cbegin(), m_pending.cend(), UINT(EN_CHANGE)) != m_pending.cend())
        return; // one per operation
    notify(EN_CHANGE);
}

void CRichEditCtrl::onSelectionMoved()
{
    CHARRANGE now;
    GetSel(now);
    if (now.cpMin == m_lastSel.cpMin && now.cpMax == m_lastSel.cpMax)
        return;
    m_lastSel = now;
    if (m_dwEventMask & ENM_SELCHANGE)
        notify(EN_SELCHANGE);
}

void CRichEditCtrl::notify(UINT code)
{
    m_pending.push_back(code);
    if (m_nOperation > 0 || m_bDeliveryPosted)
        return;
    // Changed outside any operation of the control: through QTextEdit's own API (setPlainText,
    // clear, ...) or the document itself. Qt is still inside that change (setPlainText("") sends
    // this from the middle of emptying the document, while the document has set its cursors
    // aside: a cursor made then is never moved again), so the handlers run once it has returned.
    m_bDeliveryPosted = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_bDeliveryPosted = false;
            deliverPending();
        },
        Qt::QueuedConnection);
}

void CRichEditCtrl::deliverPending()
{
    QPointer<CRichEditCtrl> self(this);
    // A handler may start an operation of its own: what it causes goes out when it ends, and
    // what is still queued here goes out before it.
    while (self && m_nOperation == 0 && !m_pending.empty()) {
        const UINT code = m_pending.front();
        m_pending.pop_front();
        send(code);
    }
}

void CRichEditCtrl::send(UINT code)
{
    QPointer<CRichEditCtrl> self(this);
    const bool wasInChange = m_bInChangeNotification;
    if (code == EN_CHANGE)
        m_bInChangeNotification = true;
    NotifyParent(this, code);
    if (self)
        Q_EMIT notified(code);
    if (self)
        m_bInChangeNotification = wasInChange;
}
