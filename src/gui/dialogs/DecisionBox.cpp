#include "gui/dialogs/DecisionBox.h"

#include "gui/dialogs/InputBox.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>

namespace stv
{

namespace
{

constexpr int BoxWidth = 330;
constexpr int BoxHeight = 236;

// The product name drawn twice, in the text colour and then red two pixels to the left, for a
// shadow.
class TitleBox : public QWidget
{
public:
    explicit TitleBox(QWidget *parent)
        : QWidget(parent)
    {
        setObjectName(QStringLiteral("TitleBox"));
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        QFont font(QStringLiteral("Serif"));
        font.setStyleHint(QFont::Serif);
        font.setPixelSize(32);
        font.setBold(true);
        painter.setFont(font);
        const QString title = QStringLiteral("Sitorva 98");
        const QRect area(2, 0, width() - 2, height());
        painter.setPen(palette().color(QPalette::WindowText)); // the shadow
        painter.drawText(area, Qt::AlignHCenter | Qt::AlignVCenter, title);
        painter.setPen(Qt::red);
        painter.drawText(area.translated(-2, 0), Qt::AlignHCenter | Qt::AlignVCenter, title);
    }
};

} // namespace

DecisionBox::DecisionBox(QWidget *parent)
    : QDialog(parent, Qt::Tool | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("Decide"));
    setWindowTitle(QStringLiteral("It`s decision time..."));
    setFixedSize(BoxWidth, BoxHeight);

    auto *title = new TitleBox(this);
    title->setGeometry(8, 4, BoxWidth - 16, 48);

    m_group = new QGroupBox(QStringLiteral("What do you want to do?"), this);
    m_group->setObjectName(QStringLiteral("DecideRG"));
    m_group->setGeometry(8, 56, BoxWidth - 16, 132);

    m_items = new QButtonGroup(this);
    const QString captions[] = {
        QStringLiteral("Open your last web page project"),
        QStringLiteral("Open an existing web page project"),
        QStringLiteral("Start a new web page project"),
        QStringLiteral("Don`t show this window again"),
    };
    for (int i = 0; i < 4; ++i) {
        auto *item = new QRadioButton(captions[i], m_group);
        item->setObjectName(QStringLiteral("DecideItem%1").arg(i));
        item->setGeometry(12, 22 + 26 * i, BoxWidth - 48, 22);
        m_items->addButton(item, i);
    }
    setItemIndex(0);

    m_accept = new QPushButton(QStringLiteral("&Accept"), this);
    m_accept->setObjectName(QStringLiteral("AcceptBtn"));
    m_accept->setGeometry(BoxWidth - 176, BoxHeight - 38, 80, 28);
    m_accept->setDefault(true);
    m_cancel = new QPushButton(QStringLiteral("Cancel"), this);
    m_cancel->setObjectName(QStringLiteral("CancelBtn"));
    m_cancel->setGeometry(BoxWidth - 88, BoxHeight - 38, 80, 28);

    connect(m_accept, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

    centreOnScreen(this);
}

int DecisionBox::itemIndex() const
{
    const int item = m_items->checkedId();
    return item < 0 ? 0 : item;
}

void DecisionBox::setItemIndex(int item)
{
    if (item < 0 || item > 3)
        item = 0;
    m_items->button(item)->setChecked(true);
}

QRadioButton *DecisionBox::itemButton(int item) const
{
    return qobject_cast<QRadioButton *>(m_items->button(item));
}

} // namespace stv
