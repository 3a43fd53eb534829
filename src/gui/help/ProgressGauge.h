#pragma once
// A horizontal bar gauge: a dark blue bar on white with "n%" centred on it, where n is how far
// the value stands between minimum and maximum, rounded down (0 when they are equal).

#include <QWidget>

namespace stv
{

class ProgressGauge : public QWidget
{
public:
    explicit ProgressGauge(QWidget *parent = nullptr);

    void setMinValue(int value);
    void setMaxValue(int value);
    void setProgress(int value);
    int progress() const { return m_progress; }
    int percentDone() const;
    QString text() const; // "%d%%" filled in

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int m_min = 0;
    int m_max = 100;
    int m_progress = 0;
};

} // namespace stv
