#include "gui/wizard/pages/BackgroundPage.h"

#include "core/project/Project.h"
#include "gui/desktop/Encoding.h"
#include "gui/wizard/pages/PageWidgets.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QToolButton>
#include <QVBoxLayout>

namespace stv::pages
{

BackgroundPage::BackgroundPage(Project &project, QWidget *parent)
    : WizardPage(QStringLiteral("Background"),
        QStringLiteral("Give your web page some background.."), parent)
    , m_project(project)
{
    QVBoxLayout *layout = pageLayout();

    auto *colourBox = new QGroupBox(QStringLiteral("Background Colour"), this);
    auto *colourRow = new QHBoxLayout(colourBox);
    m_colourPanel = new QPushButton(colourBox);
    m_colourPanel->setObjectName(QStringLiteral("ColourPanel"));
    m_colourPanel->setFixedSize(64, 28);
    m_colourPanel->setToolTip(QStringLiteral("Select Colour"));
    setSwatch(m_colourPanel, White);
    colourRow->addWidget(m_colourPanel);
    colourRow->addWidget(note(QStringLiteral("Click the swatch to choose the colour. It is used "
                                             "only while no background image is given."),
                             colourBox),
        1);
    layout->addWidget(colourBox);

    auto *imageBox = new QGroupBox(QStringLiteral("Background Image"), this);
    auto *imageGrid = new QGridLayout(imageBox);
    m_backgroundEdit = lineEdit(QStringLiteral("BackGroundEdit"), imageBox);
    auto *backImg = pictureButton(QStringLiteral("BackImg"), QStringLiteral("Select Image"),
        QStringLiteral(":/icons/buttons/folder.png"), imageBox);
    m_importBG
        = check(QStringLiteral("ImportBGImageCB"), QStringLiteral("&Import Image"), imageBox);
    m_importBG->setChecked(true);
    imageGrid->addWidget(m_backgroundEdit, 0, 0);
    imageGrid->addWidget(backImg, 0, 1);
    imageGrid->addWidget(m_importBG, 1, 0, 1, 2);
    imageGrid->addWidget(note(QStringLiteral("The image is tiled over the whole page. It may lie "
                                             "anywhere on your disk: with \"Import Image\" ticked "
                                             "it is copied next to the page when the page is "
                                             "written."),
                             imageBox),
        2, 0, 1, 2);
    layout->addWidget(imageBox);
    layout->addStretch(1);

    connect(m_colourPanel, &QPushButton::clicked, this, [this] {
        pickSwatchColour(m_colourPanel);
        m_project.backgroundColour = swatchColour(m_colourPanel);
    });
    connect(backImg, &QToolButton::clicked, this, [this] {
        chooseFile(m_backgroundEdit, QStringLiteral("Select a background image.."),
            QString::fromUtf8(ImageFilter));
    });
    connect(m_backgroundEdit, &QLineEdit::textChanged, this,
        [this](const QString &text) { m_project.backgroundImage = pathToBytes(text); });
    connect(m_importBG, &QCheckBox::toggled, this,
        [this](bool on) { m_project.importBackgroundImage = on; });
}

void BackgroundPage::load()
{
    const QSignalBlocker image(m_backgroundEdit);
    const QSignalBlocker import(m_importBG);
    m_backgroundEdit->setText(pathFromBytes(m_project.backgroundImage));
    m_importBG->setChecked(m_project.importBackgroundImage);
    setSwatch(m_colourPanel, m_project.backgroundColour);
}

} // namespace stv::pages
