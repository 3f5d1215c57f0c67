#pragma once
// Everything the host asks of the person in front of it, in one place: error reports, notices,
// yes/no questions, file and list choices, and the clock that dates backups. Each is a function
// the host calls; the defaults show Qt's message boxes and dialogs over the owner window, and a
// test replaces them to answer without showing anything.
#include <SyncSettings.h>

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QWidget;

struct HostPrompts
{
    using Report = std::function<void(const QString& title, const QString& text)>;
    using Question = std::function<bool(const QString& title, const QString& text)>;
    // A file to write (save, starting from the path `proposed`) or to read; empty when the person
    // cancels.
    using FileChoice = std::function<QString(const QString& title, const QString& filter,
                                             const QString& proposed, bool save)>;
    // The index of the chosen item, `current` chosen at first (what Enter takes); -1 when the person
    // cancels.
    using ItemChoice =
        std::function<int(const QString& title, const QString& label, const QStringList& items, int current)>;
    // A line of text, starting from `text`; nothing when the person cancels.
    using TextEntry = std::function<std::optional<QString>(const QString& title, const QString& label,
                                                           const QString& text)>;
    using Clock = std::function<qint64()>; // seconds since the epoch
    // A secret typed in (a password); empty when the person cancels.
    using Secret = std::function<QString(const QString& title, const QString& label)>;
    // The sync settings as the person leaves them in the settings dialog; false when cancelled. Empty
    // by default: the sync library brings the dialog.
    using SyncChoice = std::function<bool(SyncSettings& settings)>;

    explicit HostPrompts(QWidget* owner);

    Report error;
    Report notice;
    Question question;
    FileChoice file;
    ItemChoice item;
    TextEntry text;
    Clock clock;
    Secret secret;
    SyncChoice syncSettings;

    // The defaults, for a prompt that a caller set and wants back.
    static Report defaultError(QWidget* owner);
};
