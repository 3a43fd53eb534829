#pragma once
// The one seam through which every modal question is asked. Windows call the static
// functions of Dialogs; the program runs them through Qt's dialogs, tests install a
// ScriptedDialogs that answers from a queue and records what was asked.

#include <QColor>
#include <QFont>
#include <QString>

#include <deque>
#include <optional>
#include <vector>

class QWidget;

namespace stv
{

enum class Answer { Ok, Cancel, Yes, No, Abort };

enum class Buttons {
    Ok, // information and error boxes
    Abort, // an error box whose only way out is Abort
    YesNoAbort, // the save-changes question
    NoOk, // confirmations of generation and deletions
    YesNo, // Yes the default answer
    TrustKey, // "Trust &Once" (Ok), "Trust and &Remember" (Yes), Cancel
    // "Send &Unencrypted" (Ok; Yes with "Don't ask again for this host" ticked), Cancel
    SendUnencrypted,
    YesNoSafeNo, // Yes and No with No the default and the Escape answer: risky questions
};

class DialogSeam
{
public:
    virtual ~DialogSeam() = default;
    enum class Kind { Information, Confirmation, Error, Warning };
    virtual Answer message(QWidget *parent, Kind kind, const QString &text, Buttons buttons) = 0;
    // Empty optional when cancelled.
    virtual std::optional<QString> askLine(
        QWidget *parent, const QString &caption, const QString &prompt, const QString &initial)
        = 0;
    // Filters are pairs "description|pattern|description|pattern"; empty result when cancelled.
    virtual QString askOpenFile(QWidget *parent, const QString &title, const QString &currentPath,
        const QString &defaultExt, const QString &filter)
        = 0;
    // A file that already exists is replaced only when the user says so; Yes is the default
    // answer when it is ownFile (a file the program wrote there itself), No otherwise.
    virtual QString askSaveFile(QWidget *parent, const QString &title, const QString &currentPath,
        const QString &defaultExt, const QString &filter, const QString &ownFile)
        = 0;
    virtual std::optional<QColor> askColour(QWidget *parent, const QColor &initial) = 0;
    // The large text editor; there is no cancel, the text comes back as edited.
    virtual QString zoomEdit(QWidget *parent, const QString &caption, const QString &text,
        Qt::Alignment alignment, const QFont &font)
        = 0;
};

class Dialogs
{
public:
    static void info(QWidget *parent, const QString &text); // InfoBox
    static void error(QWidget *parent, const QString &text);
    static Answer errorAbort(QWidget *parent, const QString &text);
    static void warning(QWidget *parent, const QString &text);
    static Answer confirm(QWidget *parent, const QString &text, Buttons buttons);
    // The question about a server's unknown SSH host key: Ok trusts it once, Yes trusts and
    // remembers it, Cancel refuses it.
    static Answer askHostKey(QWidget *parent, const QString &text);
    // The question before a password goes over plain FTP: Ok sends it, Yes sends it and
    // asks no more for this host, Cancel sends nothing.
    static Answer askSendUnencrypted(QWidget *parent, const QString &text);
    static std::optional<QString> askLine(
        QWidget *parent, const QString &caption, const QString &prompt, const QString &initial);
    static QString askOpenFile(QWidget *parent, const QString &title, const QString &currentPath,
        const QString &defaultExt, const QString &filter);
    static QString askSaveFile(QWidget *parent, const QString &title, const QString &currentPath,
        const QString &defaultExt, const QString &filter, const QString &ownFile = QString());
    static std::optional<QColor> askColour(QWidget *parent, const QColor &initial);
    // The colour the colour dialog last gave, whichever window asked: the program has one
    // colour dialog, and New Colour opens it at the colour of its last use.
    static QColor lastColour();
    static QString zoomEdit(QWidget *parent, const QString &caption, const QString &text,
        Qt::Alignment alignment = Qt::AlignLeft, const QFont &font = QFont());

    static DialogSeam &seam();
    // Installs another seam (tests); nullptr goes back to Qt's dialogs. Not owned.
    static void setSeam(DialogSeam *seam);
};

// Qt filter text for "description|pattern|..." pairs, one filter per pair.
QString qtFileFilter(const QString &pairs);

// Answers from a queue, records every question. A question with no queued answer is recorded
// in unexpected() and answered Cancel (or nothing), so a test sees it instead of hanging.
class ScriptedDialogs : public DialogSeam
{
public:
    struct Asked {
        QString what; // "info", "error", "confirm", "askLine", "open", "save", "colour", "zoom"
        QString caption;
        QString text;
        QString initial; // edit text, current path or zoom text handed in
        Buttons buttons = Buttons::Ok;
        QString ownFile; // save: the file whose replacement is expected
    };
    struct Reply {
        Answer answer = Answer::Ok;
        bool hasText = false; // askLine, file dialogs, zoom editor
        QString text;
        bool hasColour = false; // colour dialog
        QColor colour;
    };

    ScriptedDialogs(); // installs itself
    ~ScriptedDialogs() override; // goes back to Qt's dialogs

    void queue(Answer answer) { m_replies.push_back({ answer, false, {}, false, {} }); }
    void queueText(const QString &text)
    {
        m_replies.push_back({ Answer::Ok, true, text, false, {} });
    }
    void queueCancel() { m_replies.push_back({ Answer::Cancel, false, {}, false, {} }); }
    void queueColour(const QColor &c) { m_replies.push_back({ Answer::Ok, false, {}, true, c }); }

    const std::vector<Asked> &asked() const { return m_asked; }
    const std::vector<QString> &unexpected() const { return m_unexpected; }
    std::size_t pending() const { return m_replies.size(); }
    // Texts of the information, warning and error boxes shown so far.
    std::vector<QString> messages() const;
    void clear();

    Answer message(QWidget *parent, Kind kind, const QString &text, Buttons buttons) override;
    std::optional<QString> askLine(QWidget *parent, const QString &caption, const QString &prompt,
        const QString &initial) override;
    QString askOpenFile(QWidget *parent, const QString &title, const QString &currentPath,
        const QString &defaultExt, const QString &filter) override;
    QString askSaveFile(QWidget *parent, const QString &title, const QString &currentPath,
        const QString &defaultExt, const QString &filter, const QString &ownFile) override;
    std::optional<QColor> askColour(QWidget *parent, const QColor &initial) override;
    QString zoomEdit(QWidget *parent, const QString &caption, const QString &text,
        Qt::Alignment alignment, const QFont &font) override;

private:
    Reply next(const QString &what, const QString &text);

    std::deque<Reply> m_replies;
    std::vector<Asked> m_asked;
    std::vector<QString> m_unexpected;
};

} // namespace stv
