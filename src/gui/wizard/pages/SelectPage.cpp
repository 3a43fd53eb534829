#include "gui/wizard/pages/SelectPage.h"

#include "core/project/Records.h"
#include "gui/desktop/Encoding.h"
#include "gui/desktop/IconStrip.h"
#include "gui/wizard/pages/PageWidgets.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include <algorithm>

namespace stv::pages
{

namespace
{

// Select box rows: the kind's icon at the left, the caption 25 pixels in.
class SelectBoxDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
        const QModelIndex &index) const override
    {
        const QRect r = option.rect;
        const bool selected = option.state & QStyle::State_Selected;
        const QPalette &pal = option.palette;
        painter->fillRect(r, selected ? pal.highlight() : pal.base());
        const int kind = index.row();
        painter->drawPixmap(r.left() + 2, r.top(),
            stripIcon(
                SectionKinds[static_cast<std::size_t>(std::clamp(kind, 0, KindCount - 1))].icon));
        painter->setPen(selected ? pal.highlightedText().color() : pal.text().color());
        painter->drawText(QRect(r.left() + 25, r.top() + 2, r.width() - 27, r.height() - 2),
            Qt::AlignLeft | Qt::AlignVCenter, index.data().toString());
        if (option.state & QStyle::State_HasFocus) {
            QStyleOptionFocusRect focus;
            focus.rect = r;
            focus.state = option.state | QStyle::State_KeyboardFocusChange;
            focus.backgroundColor = selected ? pal.highlight().color() : pal.base().color();
            if (const QWidget *w = option.widget)
                w->style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, w);
        }
    }

    QSize sizeHint(const QStyleOptionViewItem &, const QModelIndex &) const override
    {
        return { 120, 22 };
    }
};

} // namespace

SelectPage::SelectPage(QWidget *parent)
    : WizardPage(QStringLiteral("Select"), QStringLiteral("What do you want to do next?"), parent)
{
    QVBoxLayout *layout = pageLayout();
    layout->addWidget(note(QStringLiteral("Choose the kind of section to add at the end of your "
                                          "page and press Accept (or double click it)."),
        this));
    auto *box = new QGroupBox(QStringLiteral("Make Your Selection"), this);
    auto *boxLayout = new QVBoxLayout(box);
    m_selectBox = new QListWidget(box);
    m_selectBox->setObjectName(QStringLiteral("SelectBox"));
    m_selectBox->setViewMode(QListView::ListMode);
    m_selectBox->setFlow(QListView::TopToBottom);
    m_selectBox->setWrapping(true);
    m_selectBox->setResizeMode(QListView::Adjust);
    m_selectBox->setUniformItemSizes(true);
    m_selectBox->setSpacing(0);
    m_selectBox->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_selectBox->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_selectBox->setItemDelegate(new SelectBoxDelegate(m_selectBox));
    m_selectBox->setGridSize(QSize(170, 22));
    m_selectBox->setFixedSize(
        3 * 170 + 2 * m_selectBox->frameWidth() + 4, 3 * 22 + 2 * m_selectBox->frameWidth() + 4);
    m_selectBox->setAccessibleName(QStringLiteral("Make Your Selection"));
    for (const SectionKind &kind : SectionKinds) {
        auto *item = new QListWidgetItem(fromCp1252(kind.caption), m_selectBox);
        item->setData(Qt::AccessibleDescriptionRole,
            QStringLiteral("Adds a %1 section at the end of the page").arg(fromCp1252(kind.name)));
    }
    m_selectBox->setCurrentRow(0);
    boxLayout->addWidget(m_selectBox);

    auto *accept = new QPushButton(QStringLiteral("&Accept"), box);
    accept->setObjectName(QStringLiteral("Acceptbtn"));
    accept->setMinimumWidth(88);
    auto *row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(accept);
    boxLayout->addLayout(row);
    layout->addWidget(box, 0, Qt::AlignLeft);
    layout->addWidget(note(QStringLiteral("The new section is added after the last one. To put "
                                          "a section between others, use the Section Manager."),
        this));
    layout->addStretch(1);

    connect(accept, &QPushButton::clicked, this, &SelectPage::accepted);
    connect(m_selectBox, &QListWidget::itemDoubleClicked, this, &SelectPage::accepted);
    m_selectBox->installEventFilter(this);
}

bool SelectPage::eventFilter(QObject *watched, QEvent *event)
{
    // Enter on a row accepts it, as a double click does; the list alone would pass the key on.
    if (watched == m_selectBox && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            emit accepted();
            return true;
        }
    }
    return WizardPage::eventFilter(watched, event);
}

int SelectPage::chosenKind() const
{
    const QListWidgetItem *item = m_selectBox->currentItem();
    if (item == nullptr || !item->isSelected())
        return -1;
    return m_selectBox->row(item);
}

} // namespace stv::pages
