#include "gui/dialogs/SelectionDialog.h"

#include <QGroupBox>
#include <QListWidget>
#include <QPushButton>

#include <algorithm>

namespace stv
{

SelectionDialog::SelectionDialog(QWidget *parent)
    : QDialog(parent, Qt::Tool | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("MultiSelect"));
    setFixedSize(477, 180);

    m_group = new QGroupBox(QStringLiteral("Select from the list below"), this);
    m_group->setObjectName(QStringLiteral("GroupBox1"));
    m_group->setGeometry(8, 4, 370, 168);

    m_list = new QListWidget(m_group);
    m_list->setObjectName(QStringLiteral("MultiList"));
    m_list->setAccessibleName(m_group->title());
    m_list->setGeometry(10, 22, 350, 136);
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);

    const auto button = [this](const QString &caption, const char *name, int top) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setGeometry(388, top, 81, 27);
        return b;
    };
    m_selected = button(QStringLiteral("&Selected"), "SelectedBtn", 10);
    m_all = button(QStringLiteral("&All"), "AllBtn", 42);
    m_cancel = button(QStringLiteral("Cancel"), "CancelBtn", 74);
    m_help = button(QStringLiteral("&Help"), "HelpBtn", 145); // does nothing
    m_selected->setDefault(true);

    connect(m_selected, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_all, &QPushButton::clicked, this, [this] { done(AllResult); });
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(
        m_list, &QListWidget::itemSelectionChanged, this, &SelectionDialog::updateSelectedButton);
    connect(m_list, &QListWidget::currentRowChanged, this, &SelectionDialog::updateSelectedButton);
    connect(m_list, &QListWidget::itemClicked, this, &SelectionDialog::updateSelectedButton);
    connect(m_list, &QListWidget::itemDoubleClicked, this, [this] { accept(); });

    updateSelectedButton();
}

void SelectionDialog::setItems(const QStringList &items)
{
    m_list->clear();
    m_list->addItems(items);
    updateSelectedButton();
}

void SelectionDialog::setSingleSelection(bool single)
{
    m_list->setSelectionMode(
        single ? QAbstractItemView::SingleSelection : QAbstractItemView::ExtendedSelection);
}

std::vector<int> SelectionDialog::selectedRows() const
{
    std::vector<int> rows;
    for (const QListWidgetItem *item : m_list->selectedItems())
        rows.push_back(m_list->row(item));
    std::sort(rows.begin(), rows.end());
    return rows;
}

void SelectionDialog::showEvent(QShowEvent *event)
{
    updateSelectedButton();
    QDialog::showEvent(event);
}

void SelectionDialog::updateSelectedButton()
{
    m_selected->setEnabled(!m_list->selectedItems().isEmpty() && m_list->currentRow() >= 0);
}

} // namespace stv
