#include "gui/wizard/pages/ImagePage.h"

#include "core/text/TextTools.h"
#include "gui/desktop/Encoding.h"
#include "gui/wizard/pages/PageWidgets.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace stv::pages
{

ImagePage::ImagePage(QWidget *parent)
    : SectionPage(Kind, QStringLiteral("Insert an image.."), parent)
{
    QVBoxLayout *layout = pageLayout();

    auto *fileRow = new QHBoxLayout;
    fileRow->addWidget(new QLabel(QStringLiteral("Image"), this));
    m_imageEdit = lineEdit(QStringLiteral("ImageEdit"), this);
    fileRow->addWidget(m_imageEdit, 1);
    auto *imageImg = pictureButton(QStringLiteral("ImageImg"), QStringLiteral("Select An Image"),
        QStringLiteral(":/icons/buttons/folder.png"), this);
    fileRow->addWidget(imageImg);
    layout->addLayout(fileRow);

    auto *grid = new QGridLayout;
    grid->addWidget(radioGroup(QStringLiteral("ImageAlignRG"), QStringLiteral("Position"),
                        { QStringLiteral("Top"), QStringLiteral("Middle"), QStringLiteral("Bottom"),
                            QStringLiteral("Left"), QStringLiteral("Right") },
                        2, m_imagePosition, 0, this),
        0, 0);

    auto *dims = new QGroupBox(QStringLiteral("Dimensions"), this);
    auto *dimsRow = new QHBoxLayout(dims);
    m_xEdit = lineEdit(QStringLiteral("XEdit"), dims);
    m_yEdit = lineEdit(QStringLiteral("YEdit"), dims);
    m_xEdit->setMaximumWidth(60);
    m_yEdit->setMaximumWidth(60);
    dimsRow->addWidget(m_xEdit);
    dimsRow->addWidget(new QLabel(QStringLiteral("X"), dims));
    dimsRow->addWidget(m_yEdit);
    dimsRow->addStretch(1);
    grid->addWidget(dims, 0, 1);

    grid->addWidget(
        radioGroup(QStringLiteral("ImgJustifyRG"), QStringLiteral("Align"),
            { QStringLiteral("Left Justify"), QStringLiteral("Centre"), QStringLiteral("Right") },
            1, m_imgJustify, 0, this),
        0, 2);
    grid->setColumnStretch(1, 1);
    layout->addLayout(grid);

    auto *altRow = new QHBoxLayout;
    altRow->addWidget(new QLabel(QStringLiteral("Alternative text:"), this));
    m_altText = lineEdit(QStringLiteral("AltTextEdit"), this);
    altRow->addWidget(m_altText, 1);
    layout->addLayout(altRow);

    auto *linkBox = radioGroup(QStringLiteral("LinkTypeRG"), QStringLiteral("Type of link"),
        { QStringLiteral("None"), QStringLiteral("URL"), QStringLiteral("email"),
            QStringLiteral("Anchor") },
        4, m_linkType, -1, this);
    auto *linkGrid = qobject_cast<QGridLayout *>(linkBox->layout());
    m_linkEdit = lineEdit(QStringLiteral("LinkEdit"), linkBox);
    linkGrid->addWidget(m_linkEdit, 1, 0, 1, 4);
    layout->addWidget(linkBox);

    auto *checks = new QHBoxLayout;
    m_imgFollow
        = check(QStringLiteral("ImgFollowOnCB"), QStringLiteral("F&ollow on from previous"), this);
    m_importImage = check(QStringLiteral("ImportImageCB"), QStringLiteral("&Import Image"), this);
    m_linkBorder = check(QStringLiteral("LinkBorderCB"), QStringLiteral("&Show Link Border"), this);
    checks->addWidget(m_imgFollow);
    checks->addWidget(m_importImage);
    checks->addWidget(m_linkBorder);
    checks->addStretch(1);
    layout->addLayout(checks);
    layout->addStretch(1);

    connect(imageImg, &QToolButton::clicked, this, [this] {
        chooseFile(
            m_imageEdit, QStringLiteral("Select An Image.."), QString::fromUtf8(ImageFilter));
    });
}

void ImagePage::showFields(const std::vector<std::string> &f)
{
    using namespace field;
    m_imageEdit->setText(pathFromBytes(textAt(f, ImageFile)));
    setIndex(m_imagePosition, numberAt(f, ImagePosition));
    m_xEdit->setText(fromCp1252(textAt(f, ImageWidth)));
    m_yEdit->setText(fromCp1252(textAt(f, ImageHeight)));
    m_altText->setText(fromCp1252(textAt(f, ImageAltText)));
    setIndex(m_linkType, numberAt(f, ImageLinkType));
    m_linkEdit->setText(fromCp1252(textAt(f, ImageLink)));
    setFlag(m_imgFollow, textAt(f, ImageFollowOn));
    setIndex(m_imgJustify, numberAt(f, ImageJustify));
    setFlag(m_importImage, textAt(f, ImageImport));
    setFlag(m_linkBorder, textAt(f, ImageLinkBorder));
}

std::vector<std::string> ImagePage::fields() const
{
    return { pathToBytes(m_imageEdit->text()), intText(m_imagePosition->checkedId()),
        toCp1252(m_xEdit->text()), toCp1252(m_yEdit->text()), toCp1252(m_altText->text()),
        intText(m_linkType->checkedId()), toCp1252(m_linkEdit->text()), flag(m_imgFollow),
        intText(m_imgJustify->checkedId()), flag(m_importImage), flag(m_linkBorder) };
}

} // namespace stv::pages
