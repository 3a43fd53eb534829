// Every window and wizard page seen as a screen reader and a keyboard user see it: each control
// has a name, list rows reach the accessibility tree with their text, Tab reaches every enabled
// control, and with a dark palette the owner-drawn rows and the help text stay readable.
#include "core/project/Records.h"
#include "gui/desktop/Contrast.h"
#include "gui/desktop/ProgramFolder.h"
#include "gui/dialogs/DecisionBox.h"
#include "gui/dialogs/Dialogs.h"
#include "gui/dialogs/InputBox.h"
#include "gui/dialogs/SelectionDialog.h"
#include "gui/dialogs/ZoomEditor.h"
#include "gui/help/HelpWindow.h"
#include "gui/lists/ColourListWindow.h"
#include "gui/lists/ImageListWindow.h"
#include "gui/lists/LinkListWindow.h"
#include "gui/sections/SectionLibraryWindow.h"
#include "gui/sections/SectionManagerWindow.h"
#include "gui/upload/UploadWindow.h"
#include "gui/wizard/WizardWindow.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QButtonGroup>
#include <QListView>
#include <QRadioButton>
#include <QStackedWidget>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>
#include <map>
#include <memory>
#include <set>

#include "support/FakeSectionHost.h"

using namespace stv;

namespace
{

QString describe(const QWidget *w)
{
    return QStringLiteral("%1 (%2)").arg(
        w->objectName(), QLatin1String(w->metaObject()->className()));
}

bool isControl(const QWidget *w)
{
    return w->isEnabled()
        && ((w->focusPolicy() & Qt::TabFocus) || qobject_cast<const QAbstractButton *>(w));
}

// Walks the accessibility tree below `iface`; collects the visible controls of `window` that
// have no name.
void collectUnnamed(QAccessibleInterface *iface, const QWidget *window, QStringList &unnamed)
{
    for (int i = 0; i < iface->childCount(); ++i) {
        QAccessibleInterface *child = iface->child(i);
        auto *w = child ? qobject_cast<QWidget *>(child->object()) : nullptr;
        if (!w || w->window() != window || !w->isVisible())
            continue;
        if (isControl(w) && child->text(QAccessible::Name).trimmed().isEmpty())
            unnamed << describe(w);
        collectUnnamed(child, window, unnamed);
    }
}

// Tab enters a group of radio buttons once; the arrow keys move within it.
bool groupReached(const QWidget *w, const std::set<QWidget *> &reached)
{
    const auto *radio = qobject_cast<const QRadioButton *>(w);
    const QButtonGroup *group = radio ? radio->group() : nullptr;
    if (!group || !group->exclusive())
        return false;
    for (QAbstractButton *button : group->buttons())
        if (reached.count(button))
            return true;
    return false;
}

// The background is the commonest colour of `area`; the text is the pixel furthest from it.
double textContrast(const QImage &image, const QRect &area)
{
    std::map<QRgb, int> counts;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            ++counts[image.pixel(x, y)];
    QRgb background = 0;
    int most = 0;
    for (const auto &[colour, count] : counts)
        if (count > most) {
            most = count;
            background = colour;
        }
    double best = 1.0;
    for (const auto &[colour, count] : counts)
        best = std::max(best, contrastRatio(QColor(colour), QColor(background)));
    return best;
}

} // namespace

class AccessibilityTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::unique_ptr<ScriptedDialogs> m_script;
    test::FakeSectionHost m_host;
    std::unique_ptr<WizardWindow> m_wizard;
    std::unique_ptr<SectionLibraryWindow> m_library;
    std::unique_ptr<SectionManagerWindow> m_manager;
    std::unique_ptr<HelpWindow> m_help;
    std::unique_ptr<UploadWindow> m_upload;
    std::unique_ptr<DecisionBox> m_decision;
    std::unique_ptr<SelectionDialog> m_selection;
    std::unique_ptr<InputBox> m_input;
    std::unique_ptr<ZoomEditor> m_zoom;

    // Builds every window anew (after a palette change they pick up the new palette).
    void buildWindows()
    {
        m_wizard = std::make_unique<WizardWindow>();
        FavouriteLists &lists = m_wizard->favouriteLists();
        lists.colours = { "255", "16711680" };
        lists.links = { "https://example.org/", "mailto:fred@example.org", "#Top" };
        lists.images = { joinFields({ "Image", "Engine", "/home/fred/engine.jpg" }) };
        m_host.list = { joinFields({ "Heading", "Welcome", "Welcome to my railway" }),
            joinFields({ "Paragraph", "Intro text", "The line runs all round the garden." }) };
        m_host.library = { joinFields({ "Divider", "Rule", "32768" }) };
        m_library = std::make_unique<SectionLibraryWindow>(m_host.library);
        m_manager = std::make_unique<SectionManagerWindow>(m_host, *m_library);
        m_manager->refreshSectionManager();
        m_help = std::make_unique<HelpWindow>();
        m_upload = std::make_unique<UploadWindow>();
        m_decision = std::make_unique<DecisionBox>();
        m_selection = std::make_unique<SelectionDialog>();
        m_selection->setItems({ QStringLiteral("first.stv"), QStringLiteral("second.stv") });
        m_input = std::make_unique<InputBox>();
        m_input->setPrompt(QStringLiteral("Type a User Label for this section"));
        m_zoom = std::make_unique<ZoomEditor>();
    }

    // Each window, shown one at a time; the wizard once per page of its stack.
    void forEachWindow(const std::function<void(QWidget *window, const QString &what)> &check)
    {
        auto *pages = m_wizard->findChild<QStackedWidget *>(QStringLiteral("Pages"));
        m_wizard->show();
        for (int i = 0; i < pages->count(); ++i) {
            pages->setCurrentIndex(i);
            check(m_wizard.get(), QStringLiteral("wizard page %1").arg(i));
        }
        // The list windows are the wizard's own; it stays open under them.
        QWidget *others[] = { m_wizard->findChild<ColourListWindow *>(),
            m_wizard->findChild<LinkListWindow *>(), m_wizard->findChild<ImageListWindow *>(),
            m_library.get(), m_manager.get(), m_help.get(), m_upload.get(), m_decision.get(),
            m_selection.get(), m_input.get(), m_zoom.get() };
        for (QWidget *window : others) {
            if (auto *help = dynamic_cast<HelpWindow *>(window))
                help->showTopic(0);
            else
                window->show();
            check(window, window->objectName());
            window->hide();
        }
        m_wizard->hide();
    }

    // The rows of a list view as the accessibility tree has them.
    void checkRows(QAbstractItemView *view, const QStringList &texts, bool described)
    {
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(view);
        QVERIFY(iface);
        QAccessibleTableInterface *table = iface->tableInterface();
        QVERIFY2(table, qPrintable(view->objectName()));
        QCOMPARE(table->rowCount(), texts.size());
        for (int row = 0; row < texts.size(); ++row) {
            QAccessibleInterface *cell = table->cellAt(row, 0);
            QVERIFY(cell);
            QCOMPARE(cell->text(QAccessible::Name), texts[row]);
            if (described)
                QVERIFY2(!cell->text(QAccessible::Description).isEmpty(), qPrintable(texts[row]));
        }
    }

private slots:
    void initTestCase()
    {
        QAccessible::installUpdateHandler([](QAccessibleEvent *) {});
        QAccessible::setActive(true);
        setProgramFolder(m_dir.path());
        QVERIFY(QFile::copy(QStringLiteral(STV_MANUAL), helpFilePath()));
        m_script = std::make_unique<ScriptedDialogs>();
        buildWindows();
    }

    void cleanupTestCase()
    {
        m_wizard.reset();
        setProgramFolder({});
    }

    void everyControlHasANameAndRowsHaveTheirText()
    {
        forEachWindow([](QWidget *window, const QString &what) {
            QStringList unnamed;
            collectUnnamed(QAccessible::queryAccessibleInterface(window), window, unnamed);
            QVERIFY2(unnamed.isEmpty(),
                qPrintable(what + QStringLiteral(": ") + unnamed.join(QStringLiteral(", "))));
        });

        // Owner-drawn rows: their words, and a description where the row shows more than text.
        checkRows(m_wizard->findChild<ColourListWindow *>()->listView(),
            { QStringLiteral("0: #FF0000"), QStringLiteral("1: #0000FF") }, true);
        QCOMPARE(QAccessible::queryAccessibleInterface(
                     m_wizard->findChild<ColourListWindow *>()->listView())
                     ->tableInterface()
                     ->cellAt(0, 0)
                     ->text(QAccessible::Description),
            QStringLiteral("red 255, green 0, blue 0 (#FF0000)"));
        checkRows(m_wizard->findChild<LinkListWindow *>()->listView(),
            { QStringLiteral("0: https://example.org/"), QStringLiteral("1: fred@example.org"),
                QStringLiteral("2: Top") },
            true);
        checkRows(m_wizard->findChild<ImageListWindow *>()->listView(),
            { QStringLiteral("0: Engine .. /home/fred/engine.jpg") }, true);
        checkRows(m_library->libList(), { QStringLiteral("Divider: Rule") }, true);
        checkRows(m_manager->display(),
            { QStringLiteral("Introduction"), QStringLiteral("Create Title Bar"),
                QStringLiteral("Select Background"), QStringLiteral("Heading: Welcome"),
                QStringLiteral("Paragraph: Intro text"), QStringLiteral("What`s Next?") },
            true);
        auto *select = m_wizard->findChild<QListView *>(QStringLiteral("SelectBox"));
        QStringList kinds;
        for (const SectionKind &kind : SectionKinds)
            kinds << QString::fromLatin1(
                kind.caption.data(), static_cast<qsizetype>(kind.caption.size()));
        checkRows(select, kinds, true);

        // A swatch tells its colour, and so does the button that changes it.
        auto *swatch = m_wizard->findChild<QWidget *>(QStringLiteral("Panel2"));
        QCOMPARE(
            swatch->accessibleDescription(), QStringLiteral("red 0, green 0, blue 0 (#000000)"));
        QCOMPARE(
            m_wizard->findChild<QWidget *>(QStringLiteral("ColorImg"))->accessibleDescription(),
            QStringLiteral("Colour: red 0, green 0, blue 0 (#000000)"));

        // The help text names the links in view.
        m_help->showTopic(0);
        QVERIFY(QTest::qWaitForWindowExposed(m_help.get()));
        m_help->textBox()->repaint();
        QVERIFY(m_help->textBox()->accessibleDescription().startsWith(QStringLiteral("Links: ")));
        m_help->hide();
    }

    void tabReachesEveryEnabledControl()
    {
        forEachWindow([](QWidget *window, const QString &what) {
            window->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(window));
            // The offscreen platform leaves a window over its open parent inactive.
            if (QApplication::activeWindow() != window)
                QApplication::setActiveWindow(window);
            std::set<QWidget *> expected;
            for (QWidget *w : window->findChildren<QWidget *>())
                if (w->window() == window && w->isVisible() && w->isEnabled()
                    && (w->focusPolicy() & Qt::TabFocus) && !w->focusProxy())
                    expected.insert(w);
            if (!QApplication::focusWidget() || QApplication::focusWidget()->window() != window)
                for (QWidget *w = window->nextInFocusChain(); w != window;
                     w = w->nextInFocusChain())
                    if (expected.count(w)) {
                        w->setFocus(Qt::TabFocusReason);
                        break;
                    }
            std::set<QWidget *> reached;
            QStringList order;
            for (std::size_t i = 0; i < 2 * expected.size() + 4; ++i) {
                QWidget *focus = QApplication::focusWidget();
                QVERIFY2(focus && focus->window() == window,
                    qPrintable(what + QStringLiteral(" focus in ")
                        + (focus ? focus->window()->objectName() : QStringLiteral("none"))
                        + QString::number(expected.size()) + QStringLiteral(" step ")
                        + QString::number(i)));
                reached.insert(focus);
                order << focus->objectName();
                QTest::keyClick(focus, Qt::Key_Tab);
            }
            QStringList missed;
            for (QWidget *w : expected)
                if (!reached.count(w) && !groupReached(w, reached))
                    missed << describe(w);
            QVERIFY2(missed.isEmpty(),
                qPrintable(what + QStringLiteral(": ") + missed.join(QStringLiteral(", "))
                    + QStringLiteral(" not in ") + order.join(QLatin1Char(' '))));
        });
    }

    void darkPaletteKeepsTextReadable()
    {
        QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
        QApplication::setPalette(darkPalette());
        buildWindows();

        // Each row of each owner-drawn list, one of them selected, text against its background.
        auto rowsRead = [](QAbstractItemView *view, int textLeft) {
            view->window()->show();
            QVERIFY(QTest::qWaitForWindowExposed(view->window()));
            view->setCurrentIndex(view->model()->index(0, 0));
            const QImage image = view->viewport()->grab().toImage();
            for (int row = 0; row < view->model()->rowCount(); ++row) {
                QRect r = view->visualRect(view->model()->index(row, 0)).intersected(image.rect());
                r.setLeft(r.left() + textLeft);
                const double contrast = textContrast(image, r.adjusted(1, 1, -1, -1));
                QVERIFY2(contrast >= 4.5,
                    qPrintable(QStringLiteral("%1 row %2: %3")
                                   .arg(view->objectName())
                                   .arg(row)
                                   .arg(contrast)));
            }
            view->window()->hide();
        };
        rowsRead(m_wizard->findChild<ColourListWindow *>()->listView(), 56);
        rowsRead(m_wizard->findChild<LinkListWindow *>()->listView(), 36);
        rowsRead(m_wizard->findChild<ImageListWindow *>()->listView(), 0);
        rowsRead(m_manager->display(), 24);
        rowsRead(m_library->libList(), 24);

        // The help text, piece by piece: plain, bold, links, red and italic runs.
        m_help->showTopic(0);
        QVERIFY(QTest::qWaitForWindowExposed(m_help.get()));
        const QImage text = m_help->textBox()->grab().toImage();
        int pieces = 0;
        for (const HelpWindow::DrawnRow &row : m_help->drawnRows())
            for (const HelpWindow::DrawnPiece &piece : row.pieces) {
                if (piece.text.trimmed().isEmpty() || piece.picture >= 0)
                    continue;
                const QRect area = QRect(piece.x, row.y, piece.width, m_help->linePitch())
                                       .intersected(text.rect());
                if (area.isEmpty())
                    continue;
                ++pieces;
                const double contrast = textContrast(text, area);
                QVERIFY2(contrast >= 4.5,
                    qPrintable(QStringLiteral("%1: %2").arg(piece.text).arg(contrast)));
            }
        QVERIFY(pieces > 5);
        QVERIFY(isDarkPalette(m_help->textBox()->palette()));
        m_help->hide();
    }
};

QTEST_MAIN(AccessibilityTest)
#include "AccessibilityTest.moc"
