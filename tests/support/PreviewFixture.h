#pragma once
// The main window with its live preview, as the preview's QtTest cases drive it: showing the
// pane, waiting for its page, and reading the page back through WebEngine.

#include "core/project/Records.h"
#include "core/project/SectionKinds.h"
#include "gui/preview/LivePreview.h"
#include "gui/preview/PreviewPane.h"
#include "gui/preview/PreviewView.h"

#include "support/WizardWindowFixture.h"

#include <QSignalSpy>

#include <optional>

namespace stv::test
{

// A new section of `kind` with one field set.
inline std::string sectionWith(KindPos kind, int fieldNumber, const std::string &value)
{
    return replaceField(newSectionRecord(static_cast<int>(kind)), fieldNumber, value);
}

class PreviewFixture : public WizardWindowFixture
{
protected:
    PreviewView *view() { return m_w->previewPane()->view(); }

    // Waits until the pane shows the page of the latest edit.
    bool waitForPage(QSignalSpy &spy)
    {
        const bool came = spy.count() > 0 || spy.wait(30000);
        QTest::qWait(50);
        if (!QTest::qWaitFor([this] { return !m_w->livePreview()->busy(); }, 30000))
            return false;
        return came;
    }
    // F5, then the first page.
    void showPreview()
    {
        QSignalSpy shown(m_w->livePreview(), &LivePreview::refreshed);
        QTest::keyClick(m_w.get(), Qt::Key_F5);
        QVERIFY(m_w->livePreviewShown());
        QVERIFY(view() != nullptr);
        QVERIFY(waitForPage(shown));
    }
    // Types into the named field (over its text when `replace`) and waits for the page to
    // follow.
    void typeInto(const char *name, const QString &text, bool replace = false)
    {
        QSignalSpy shown(m_w->livePreview(), &LivePreview::refreshed);
        QWidget *field = child<QWidget>(name);
        field->setFocus();
        QTest::keyClick(field, Qt::Key_End);
        if (replace)
            QTest::keyClick(field, Qt::Key_Home, Qt::ShiftModifier);
        for (const QChar c : text) // keyClicks takes Latin-1 letters only
            QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString(c), Qt::NoModifier);
        QVERIFY(waitForPage(shown));
    }
    // The result of a script run beside the page.
    QVariant script(const QString &source)
    {
        std::optional<QVariant> result;
        view()->runScript(source, [&result](const QVariant &value) { result = value; });
        if (!QTest::qWaitFor([&result] { return result.has_value(); }, 10000))
            return QStringLiteral("no answer");
        return *result;
    }
    QString pageText() { return script(QStringLiteral("document.body.innerText")).toString(); }
    double scrollY() { return script(QStringLiteral("window.scrollY")).toDouble(); }
};

} // namespace stv::test
