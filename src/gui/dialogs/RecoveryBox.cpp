#include "gui/dialogs/RecoveryBox.h"

#include "core/project/Project.h"
#include "gui/desktop/Encoding.h"

#include <QDateTime>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace stv
{

RecoveryBox::RecoveryBox(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("RecoveryBox"));
    setWindowTitle(QStringLiteral("Recover Unsaved Work"));
    auto *layout = new QVBoxLayout(this);
    auto *text = new QLabel(QStringLiteral("Sitorva ended before this work was saved. Recover "
                                           "it now, discard it, or decide later."),
        this);
    text->setWordWrap(true);
    layout->addWidget(text);
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("RecoveryList"));
    m_list->setAccessibleName(QStringLiteral("Unsaved work"));
    layout->addWidget(m_list, 1);

    auto *buttons = new QHBoxLayout;
    m_recover = new QPushButton(QStringLiteral("&Recover"), this);
    m_recover->setObjectName(QStringLiteral("RecoverBtn"));
    m_recover->setDefault(true);
    m_discard = new QPushButton(QStringLiteral("&Discard"), this);
    m_discard->setObjectName(QStringLiteral("DiscardBtn"));
    m_later = new QPushButton(QStringLiteral("&Later"), this);
    m_later->setObjectName(QStringLiteral("LaterBtn"));
    buttons->addStretch(1);
    for (QPushButton *b : { m_recover, m_discard, m_later }) {
        b->setMinimumWidth(88);
        buttons->addWidget(b);
    }
    layout->addLayout(buttons);
    resize(520, 260);

    connect(m_recover, &QPushButton::clicked, this, [this] { choose(Choice::Recover); });
    connect(m_discard, &QPushButton::clicked, this, [this] { choose(Choice::Discard); });
    connect(m_later, &QPushButton::clicked, this, [this] { choose(Choice::Later); });
    connect(m_list, &QListWidget::itemDoubleClicked, this, [this] { choose(Choice::Recover); });
}

QString RecoveryBox::entryLine(const RecoveryEntry &entry)
{
    const QString where = entry.projectPath.empty()
        ? QStringLiteral("never saved")
        : fromCp1252(recentEntryLine(recentEntry(entry.projectPath)));
    const QString when = QDateTime::fromSecsSinceEpoch(entry.savedAt)
                             .toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
    return QStringLiteral("%1  -  last autosave %2").arg(where, when);
}

void RecoveryBox::setEntries(const std::vector<RecoveryEntry> &entries)
{
    m_list->clear();
    for (const RecoveryEntry &entry : entries)
        m_list->addItem(entryLine(entry));
    m_list->setCurrentRow(0);
    m_choice = Choice::Later;
}

int RecoveryBox::chosenRow() const
{
    return std::max(m_list->currentRow(), 0);
}

void RecoveryBox::choose(Choice choice)
{
    m_choice = choice;
    if (choice == Choice::Later)
        reject();
    else
        accept();
}

} // namespace stv
