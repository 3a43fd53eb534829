#include "gui/dialogs/Dialogs.h"

#include "gui/dialogs/FileDialogs.h"
#include "gui/dialogs/InputBox.h"
#include "gui/dialogs/ZoomEditor.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QColorDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QStringList>

namespace stv
{

namespace
{
// The program's one colour dialog remembers the colour it gave last.
QColor s_lastColour = Qt::black;
} // namespace

namespace
{

QMessageBox::StandardButtons toQt(Buttons b)
{
    switch (b) {
    case Buttons::Ok:
        return QMessageBox::Ok;
    case Buttons::Abort:
        return QMessageBox::Abort;
    case Buttons::YesNoAbort:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Abort;
    case Buttons::NoOk:
        return QMessageBox::No | QMessageBox::Ok;
    case Buttons::YesNo:
    case Buttons::YesNoSafeNo:
        return QMessageBox::Yes | QMessageBox::No;
    case Buttons::TrustKey:
        return QMessageBox::Cancel; // the two trust buttons are added by name
    case Buttons::SendUnencrypted:
        return QMessageBox::Cancel; // the send button and the tick are added by name
    }
    return QMessageBox::Ok;
}

Answer fromQt(int button)
{
    switch (button) {
    case QMessageBox::Ok:
        return Answer::Ok;
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    case QMessageBox::Abort:
        return Answer::Abort;
    default:
        return Answer::Cancel;
    }
}

class QtDialogSeam : public DialogSeam
{
public:
    Answer message(QWidget *parent, Kind kind, const QString &text, Buttons buttons) override
    {
        QMessageBox::Icon icon = QMessageBox::Information;
        QString caption = QStringLiteral("Information");
        switch (kind) {
        case Kind::Information:
            break;
        case Kind::Confirmation:
            icon = QMessageBox::Question;
            caption = QStringLiteral("Confirm");
            break;
        case Kind::Error:
            icon = QMessageBox::Critical;
            caption = QStringLiteral("Error");
            break;
        case Kind::Warning:
            icon = QMessageBox::Warning;
            caption = QStringLiteral("Warning");
            break;
        }
        if (buttons == Buttons::SendUnencrypted
            || buttons == Buttons::YesNoSafeNo) { // a question, but about a risk
            icon = QMessageBox::Warning;
            caption = QStringLiteral("Warning");
        }
        QMessageBox box(icon, caption, text, toQt(buttons), parent);
        QAbstractButton *once = nullptr;
        QAbstractButton *remember = nullptr;
        if (buttons == Buttons::TrustKey) {
            once = box.addButton(QStringLiteral("Trust &Once"), QMessageBox::AcceptRole);
            remember = box.addButton(QStringLiteral("Trust and &Remember"), QMessageBox::YesRole);
            box.setDefaultButton(QMessageBox::Cancel);
        }
        QCheckBox *dontAsk = nullptr;
        if (buttons == Buttons::SendUnencrypted) {
            once = box.addButton(QStringLiteral("Send &Unencrypted"), QMessageBox::AcceptRole);
            dontAsk = new QCheckBox(QStringLiteral("&Don't ask again for this host"));
            dontAsk->setObjectName(QStringLiteral("DontAskAgainCB"));
            box.setCheckBox(dontAsk);
            box.setDefaultButton(QMessageBox::Cancel);
        }
        if (buttons == Buttons::YesNo)
            box.setDefaultButton(QMessageBox::Yes);
        if (buttons == Buttons::YesNoSafeNo) {
            box.setDefaultButton(QMessageBox::No);
            box.setEscapeButton(QMessageBox::No);
        }
        box.exec();
        QAbstractButton *clicked = box.clickedButton();
        if (clicked == nullptr)
            return Answer::Cancel;
        if (clicked == once && dontAsk != nullptr && dontAsk->isChecked())
            return Answer::Yes;
        if (clicked == once)
            return Answer::Ok;
        if (clicked == remember)
            return Answer::Yes;
        return fromQt(box.standardButton(clicked));
    }

    std::optional<QString> askLine(QWidget *parent, const QString &caption, const QString &prompt,
        const QString &initial) override
    {
        return InputBox::ask(parent, caption, prompt, initial);
    }

    QString askOpenFile(QWidget *parent, const QString &title, const QString &currentPath,
        const QString &defaultExt, const QString &filter) override
    {
        return FileDialogs::instance().askOpen(parent, title, currentPath, defaultExt, filter);
    }

    QString askSaveFile(QWidget *parent, const QString &title, const QString &currentPath,
        const QString &defaultExt, const QString &filter, const QString &ownFile) override
    {
        return FileDialogs::instance().askSave(
            parent, title, currentPath, defaultExt, filter, ownFile);
    }

    std::optional<QColor> askColour(QWidget *parent, const QColor &initial) override
    {
        const QColor c = QColorDialog::getColor(initial, parent);
        if (!c.isValid())
            return std::nullopt;
        return c;
    }

    QString zoomEdit(QWidget *parent, const QString &caption, const QString &text,
        Qt::Alignment alignment, const QFont &font) override
    {
        return ZoomEditor::edit(parent, caption, text, alignment, font);
    }
};

QtDialogSeam &qtSeam()
{
    static QtDialogSeam seam;
    return seam;
}

DialogSeam *g_seam = nullptr;

} // namespace

DialogSeam &Dialogs::seam()
{
    return g_seam ? *g_seam : qtSeam();
}

void Dialogs::setSeam(DialogSeam *seam)
{
    g_seam = seam;
}

void Dialogs::info(QWidget *parent, const QString &text)
{
    seam().message(parent, DialogSeam::Kind::Information, text, Buttons::Ok);
}

void Dialogs::error(QWidget *parent, const QString &text)
{
    seam().message(parent, DialogSeam::Kind::Error, text, Buttons::Ok);
}

Answer Dialogs::errorAbort(QWidget *parent, const QString &text)
{
    return seam().message(parent, DialogSeam::Kind::Error, text, Buttons::Abort);
}

void Dialogs::warning(QWidget *parent, const QString &text)
{
    seam().message(parent, DialogSeam::Kind::Warning, text, Buttons::Ok);
}

Answer Dialogs::confirm(QWidget *parent, const QString &text, Buttons buttons)
{
    return seam().message(parent, DialogSeam::Kind::Confirmation, text, buttons);
}

Answer Dialogs::askHostKey(QWidget *parent, const QString &text)
{
    return seam().message(parent, DialogSeam::Kind::Warning, text, Buttons::TrustKey);
}

Answer Dialogs::askSendUnencrypted(QWidget *parent, const QString &text)
{
    return seam().message(parent, DialogSeam::Kind::Confirmation, text, Buttons::SendUnencrypted);
}

std::optional<QString> Dialogs::askLine(
    QWidget *parent, const QString &caption, const QString &prompt, const QString &initial)
{
    return seam().askLine(parent, caption, prompt, initial);
}

QString Dialogs::askOpenFile(QWidget *parent, const QString &title, const QString &currentPath,
    const QString &defaultExt, const QString &filter)
{
    return seam().askOpenFile(parent, title, currentPath, defaultExt, filter);
}

QString Dialogs::askSaveFile(QWidget *parent, const QString &title, const QString &currentPath,
    const QString &defaultExt, const QString &filter, const QString &ownFile)
{
    return seam().askSaveFile(parent, title, currentPath, defaultExt, filter, ownFile);
}

std::optional<QColor> Dialogs::askColour(QWidget *parent, const QColor &initial)
{
    std::optional<QColor> chosen = seam().askColour(parent, initial);
    if (chosen)
        s_lastColour = *chosen;
    return chosen;
}

QColor Dialogs::lastColour()
{
    return s_lastColour;
}

QString Dialogs::zoomEdit(QWidget *parent, const QString &caption, const QString &text,
    Qt::Alignment alignment, const QFont &font)
{
    return seam().zoomEdit(parent, caption, text, alignment, font);
}

QString qtFileFilter(const QString &pairs)
{
    const QStringList parts = pairs.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i];
        const qsizetype paren = description.indexOf(QLatin1Char('('));
        if (paren >= 0)
            description = description.left(paren).trimmed();
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        // "*.*" means every file, with or without a dot in its name.
        if (patterns.trimmed() == QLatin1String("*.*"))
            patterns = QStringLiteral("*");
        filters << description + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return filters.join(QStringLiteral(";;"));
}

// ---- scripted answers for tests ----

ScriptedDialogs::ScriptedDialogs()
{
    Dialogs::setSeam(this);
    s_lastColour = Qt::black; // each scripted test starts as the program does
}

ScriptedDialogs::~ScriptedDialogs()
{
    Dialogs::setSeam(nullptr);
}

void ScriptedDialogs::clear()
{
    m_replies.clear();
    m_asked.clear();
    m_unexpected.clear();
}

std::vector<QString> ScriptedDialogs::messages() const
{
    std::vector<QString> out;
    for (const auto &a : m_asked)
        if (a.what == QLatin1String("info") || a.what == QLatin1String("error")
            || a.what == QLatin1String("warning"))
            out.push_back(a.text);
    return out;
}

ScriptedDialogs::Reply ScriptedDialogs::next(const QString &what, const QString &text)
{
    if (m_replies.empty()) {
        m_unexpected.push_back(what + QStringLiteral(": ") + text);
        return { Answer::Cancel, false, {}, false, {} };
    }
    Reply r = std::move(m_replies.front());
    m_replies.pop_front();
    return r;
}

Answer ScriptedDialogs::message(QWidget *, Kind kind, const QString &text, Buttons buttons)
{
    static const char *const names[] = { "info", "confirm", "error", "warning" };
    const QString what = QString::fromLatin1(names[static_cast<int>(kind)]);
    m_asked.push_back({ what, {}, text, {}, buttons, {} });
    // Boxes with a single button need no scripted answer.
    if (buttons == Buttons::Ok)
        return Answer::Ok;
    if (buttons == Buttons::Abort)
        return Answer::Abort;
    return next(what, text).answer;
}

std::optional<QString> ScriptedDialogs::askLine(
    QWidget *, const QString &caption, const QString &prompt, const QString &initial)
{
    m_asked.push_back({ QStringLiteral("askLine"), caption, prompt, initial, Buttons::Ok, {} });
    const Reply r = next(QStringLiteral("askLine"), prompt);
    if (r.answer != Answer::Ok)
        return std::nullopt;
    return r.hasText ? r.text : initial;
}

QString ScriptedDialogs::askOpenFile(QWidget *, const QString &title, const QString &currentPath,
    const QString &, const QString &filter)
{
    m_asked.push_back({ QStringLiteral("open"), title, filter, currentPath, Buttons::Ok, {} });
    const Reply r = next(QStringLiteral("open"), title);
    return r.answer == Answer::Ok ? r.text : QString();
}

QString ScriptedDialogs::askSaveFile(QWidget *, const QString &title, const QString &currentPath,
    const QString &, const QString &filter, const QString &ownFile)
{
    m_asked.push_back({ QStringLiteral("save"), title, filter, currentPath, Buttons::Ok, ownFile });
    const Reply r = next(QStringLiteral("save"), title);
    return r.answer == Answer::Ok ? r.text : QString();
}

std::optional<QColor> ScriptedDialogs::askColour(QWidget *, const QColor &initial)
{
    m_asked.push_back({ QStringLiteral("colour"), {}, {}, initial.name(), Buttons::Ok, {} });
    const Reply r = next(QStringLiteral("colour"), initial.name());
    if (r.answer != Answer::Ok)
        return std::nullopt;
    return r.hasColour ? r.colour : initial;
}

QString ScriptedDialogs::zoomEdit(
    QWidget *, const QString &caption, const QString &text, Qt::Alignment, const QFont &)
{
    m_asked.push_back({ QStringLiteral("zoom"), caption, {}, text, Buttons::Ok, {} });
    // The editor has no cancel: without a scripted text the text comes back unchanged.
    if (m_replies.empty())
        return text;
    const Reply r = m_replies.front();
    m_replies.pop_front();
    return r.hasText ? r.text : text;
}

} // namespace stv
