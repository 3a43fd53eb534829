#pragma once
// A sound: a wave file the page plays, with or without a player shown.

#include "gui/wizard/pages/WizardPage.h"

#include <array>

class QButtonGroup;
class QCheckBox;
class QLineEdit;

namespace stv::pages
{

class PlaySoundPage : public SectionPage
{
public:
    static constexpr KindPos Kind = KindPos::PlaySound;
    explicit PlaySoundPage(QWidget *parent);

    void showFields(const std::vector<std::string> &fields) override;
    std::vector<std::string> fields() const override;

private:
    void playSound();

    QLineEdit *m_soundEdit = nullptr;
    std::array<QCheckBox *, 4> m_soundFlags {};
    QButtonGroup *m_soundAlign = nullptr;
};

} // namespace stv::pages
