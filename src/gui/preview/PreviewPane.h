#pragma once
// The live preview pane beside the wizard: the Phone, Tablet and Desktop widths the page is
// laid out at, and the page view, loaded from its module the first time the pane needs it.

#include <QWidget>

#include <array>

class QButtonGroup;
class QLabel;
class QVBoxLayout;

namespace stv
{

class PreviewView;

class PreviewPane : public QWidget
{
    Q_OBJECT
public:
    // The widths a page is laid out at, in CSS pixels: phone, tablet, desktop.
    static constexpr std::array<int, 3> LayoutWidths = { 390, 768, 1280 };

    explicit PreviewPane(QWidget *parent = nullptr);

    // The view, loaded on the first call; null when the module could not be loaded (the pane
    // then says why).
    PreviewView *view();
    int layoutWidth() const { return m_layoutWidth; }
    // One of LayoutWidths; any other width is taken as the phone's.
    void setLayoutWidth(int width);

signals:
    // The user chose a width.
    void layoutWidthChosen(int width);

private:
    QVBoxLayout *m_layout = nullptr;
    QButtonGroup *m_widths = nullptr;
    QLabel *m_problem = nullptr;
    PreviewView *m_view = nullptr;
    bool m_loadTried = false;
    int m_layoutWidth = LayoutWidths[0];
};

} // namespace stv
