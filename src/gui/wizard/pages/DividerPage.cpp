#include "gui/wizard/pages/DividerPage.h"

#include "core/text/TextTools.h"
#include "gui/desktop/Encoding.h"
#include "gui/wizard/pages/PageWidgets.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>

#include <algorithm>

namespace stv::pages
{

DividerPage::DividerPage(QWidget *parent)
    : SectionPage(Kind, QStringLiteral("Insert a divider.."), parent)
{
    QVBoxLayout *layout = pageLayout();

    layout->addWidget(
        colourGroup(QStringLiteral("DivColPanel"), QStringLiteral("DivColImg"), m_divColour, this));

    auto *sizes = new QGroupBox(QStringLiteral("Size"), this);
    auto *grid = new QGridLayout(sizes);
    auto makeBar = [&](int row, const QString &caption, const QString &name, int max, int step,
                       QSlider *&bar, QLabel *&label, const QString &labelName) {
        auto *captionLabel = new QLabel(caption, sizes);
        grid->addWidget(captionLabel, row, 0);
        bar = new QSlider(Qt::Horizontal, sizes);
        captionLabel->setBuddy(bar);
        bar->setObjectName(name);
        bar->setRange(1, max);
        bar->setTickPosition(QSlider::TicksBelow);
        bar->setTickInterval(step);
        bar->setPageStep(step);
        grid->addWidget(bar, row, 1);
        label = new QLabel(QStringLiteral("1"), sizes);
        label->setObjectName(labelName);
        label->setMinimumWidth(36);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        grid->addWidget(label, row, 2);
        connect(bar, &QSlider::valueChanged, label,
            [label](int value) { label->setText(QString::number(value)); });
    };
    makeBar(0, QStringLiteral("Thickness"), QStringLiteral("DivThickTB"), 15, 1, m_divThick,
        m_divThickLabel, QStringLiteral("DivThickLabel"));
    makeBar(1, QStringLiteral("Width %"), QStringLiteral("DivWidthTB"), 100, 5, m_divWidth,
        m_divWidthLabel, QStringLiteral("DivWidthLabel"));
    grid->setColumnStretch(1, 1);
    layout->addWidget(sizes);

    m_div3D = check(QStringLiteral("DividerEffectCB"), QStringLiteral("3D Effect"), this);
    layout->addWidget(m_div3D);
    layout->addStretch(1);
}

void DividerPage::showFields(const std::vector<std::string> &f)
{
    using namespace field;
    setSwatch(m_divColour, numberAt(f, DividerColour));
    // The bars take the number within their range; the labels keep the stored text.
    const QSignalBlocker thick(m_divThick);
    const QSignalBlocker width(m_divWidth);
    m_divThick->setValue(std::clamp(numberAt(f, DividerThickness), 1, 15));
    m_divWidth->setValue(std::clamp(numberAt(f, DividerWidth), 1, 100));
    m_divThickLabel->setText(fromCp1252(textAt(f, DividerThickness)));
    m_divWidthLabel->setText(fromCp1252(textAt(f, DividerWidth)));
    setFlag(m_div3D, textAt(f, Divider3D));
}

std::vector<std::string> DividerPage::fields() const
{
    // The labels' text is stored, so a value outside the bar's range survives a store.
    return { intText(swatchColour(m_divColour)), toCp1252(m_divThickLabel->text()),
        toCp1252(m_divWidthLabel->text()), flag(m_div3D) };
}

} // namespace stv::pages
