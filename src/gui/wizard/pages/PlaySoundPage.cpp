#include "gui/wizard/pages/PlaySoundPage.h"

#include "core/text/Cp1252.h"
#include "core/text/TextTools.h"
#include "gui/desktop/Encoding.h"
#include "gui/desktop/Sound.h"
#include "gui/dialogs/Dialogs.h"
#include "gui/dialogs/FileDialogs.h"
#include "gui/wizard/pages/PageWidgets.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace stv::pages
{

PlaySoundPage::PlaySoundPage(QWidget *parent)
    : SectionPage(Kind, QStringLiteral("Add some sound to your page"), parent)
{
    QVBoxLayout *layout = pageLayout();
    auto *fileRow = new QHBoxLayout;
    fileRow->addWidget(new QLabel(QStringLiteral("Sound File"), this));
    m_soundEdit = lineEdit(QStringLiteral("SoundEdit"), this);
    fileRow->addWidget(m_soundEdit, 1);
    auto *browse = new QPushButton(QStringLiteral("B&rowse"), this);
    browse->setObjectName(QStringLiteral("BrowseBtn"));
    fileRow->addWidget(browse);
    layout->addLayout(fileRow);
    layout->addSpacing(6);

    const char *const names[] = { "AutoStartCB", "HideSoundCB", "ImportSoundCB", "FollowOnSndCB" };
    const char *const captions[] = { "&Autostart sound file", "Hi&de Sound Image",
        "&Import Sound File", "F&ollow On From Previous" };
    auto *grid = new QGridLayout;
    for (int i = 0; i < 4; ++i) {
        m_soundFlags[static_cast<std::size_t>(i)]
            = check(QString::fromUtf8(names[i]), QString::fromUtf8(captions[i]), this);
        grid->addWidget(m_soundFlags[static_cast<std::size_t>(i)], i % 2, i / 2);
    }
    layout->addLayout(grid);
    layout->addWidget(
        radioGroup(QStringLiteral("SoundAlignRG"), QStringLiteral("Sound Image Alignment"),
            { QStringLiteral("Left"), QStringLiteral("Centre"), QStringLiteral("Right") }, 3,
            m_soundAlign, 0, this));
    auto *play = new QPushButton(QStringLiteral("&Play your sound file now"), this);
    play->setObjectName(QStringLiteral("PlayBtn"));
    auto *playRow = new QHBoxLayout;
    playRow->addWidget(play);
    playRow->addStretch(1);
    layout->addLayout(playRow);
    layout->addWidget(note(QStringLiteral("With \"Hide Sound Image\" unticked the page shows a "
                                          "player for the sound; with \"Autostart\" ticked the "
                                          "sound plays as soon as the page opens."),
        this));
    layout->addStretch(1);
    connect(browse, &QPushButton::clicked, this, [this] {
        chooseFile(m_soundEdit, QStringLiteral("Locate A Wave Sound File.."),
            QStringLiteral("Wave Files (*.wav)|*.wav|All Files (*.*)|*.*"));
    });
    connect(play, &QPushButton::clicked, this, &PlaySoundPage::playSound);
}

void PlaySoundPage::showFields(const std::vector<std::string> &f)
{
    using namespace field;
    m_soundEdit->setText(pathFromBytes(textAt(f, SoundFile)));
    for (int i = 0; i < 4; ++i)
        setFlag(m_soundFlags[static_cast<std::size_t>(i)], textAt(f, SoundAutoStart + i));
    setIndex(m_soundAlign, numberAt(f, SoundAlign));
}

std::vector<std::string> PlaySoundPage::fields() const
{
    std::vector<std::string> out { pathToBytes(m_soundEdit->text()) };
    for (const QCheckBox *c : m_soundFlags)
        out.push_back(flag(c));
    out.push_back(intText(m_soundAlign->checkedId()));
    return out;
}

// An empty name plays the system's start sound, so the button always answers. A relative name
// leads from the project's folder, as it does when the page is written.
void PlaySoundPage::playSound()
{
    const QString name = m_soundEdit->text();
    if (name.isEmpty()) {
        sound().playSystemSound(QStringLiteral("SystemStart"));
        return;
    }
    const QString file = QString::fromStdString(
        nativePathIn(pathToBytes(name), FileDialogs::projectFolder().toStdString()));
    if (QFileInfo(file).isFile())
        sound().playFile(file);
    else
        Dialogs::info(this, QStringLiteral("The sound file %1 cannot be found.").arg(file));
}

} // namespace stv::pages
