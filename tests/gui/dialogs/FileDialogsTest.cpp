// The program's real file dialogs, driven as a user drives them: where each starts, and the
// question before a file is replaced.
#include "gui/dialogs/FileDialogs.h"
#include "core/settings/Settings.h"
#include "gui/desktop/ProgramFolder.h"
#include "gui/dialogs/Dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <vector>

using namespace stv;

namespace
{

// Runs the steps one by one, each as a modal window comes on show: the way a user answers the
// dialogs that a command opens one after another.
class ModalSteps : public QObject
{
public:
    using Step = std::function<void(QWidget *modal)>;
    explicit ModalSteps(std::vector<Step> steps)
        : m_steps(std::move(steps))
    {
        qApp->installEventFilter(this);
    }
    ~ModalSteps() override { qApp->removeEventFilter(this); }
    bool done() const { return m_next == m_steps.size(); }

protected:
    bool eventFilter(QObject *object, QEvent *event) override
    {
        auto *window = qobject_cast<QWidget *>(object);
        if (event->type() == QEvent::Show && window != nullptr && window->isWindow()
            && window->isModal() && m_next < m_steps.size()) {
            const QPointer<QWidget> shown = window;
            const std::size_t step = m_next++;
            // Once its event loop runs, as a user's key arrives after the window is there.
            QTimer::singleShot(50, this, [this, shown, step] {
                if (shown)
                    m_steps[step](shown);
            });
        }
        return false;
    }

private:
    std::vector<Step> m_steps;
    std::size_t m_next = 0;
};

void typeAndEnter(QWidget *modal, const QString &text)
{
    auto *dialog = qobject_cast<QFileDialog *>(modal);
    QVERIFY(dialog != nullptr);
    auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
    QVERIFY(name != nullptr);
    name->setText(text);
    QTest::keyClick(name, Qt::Key_Return);
}

} // namespace

class FileDialogsTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        QVERIFY(m_dir.isValid());
        for (const char *folder : { "prog", "home", "project/pics", "elsewhere" })
            QVERIFY(QDir(m_dir.path()).mkpath(QLatin1String(folder)));
        setProgramFolder(path("prog"));
        qputenv("HOME", path("home").toLocal8Bit());
        FileDialogs::setProjectFile(QString());
    }

    void cleanup()
    {
        FileDialogs::setProjectFile(QString());
        setProgramFolder(QString());
    }

    // With nothing known a dialog starts at home, never in the program's folder; then in the
    // open project's folder (a relative path stands there); a path into the program's folder
    // gives way to the project's; after a file is chosen, a dialog with no project starts
    // in that file's folder, which the settings keep for the next run.
    void startsWhereTheUsersFilesAre()
    {
        QStringList started;
        const auto startedIn = [&started](QWidget *modal) {
            started << qobject_cast<QFileDialog *>(modal)->directory().absolutePath();
            modal->close();
        };
        const auto ask = [](const QString &current) {
            return Dialogs::askOpenFile(nullptr, QStringLiteral("Load"), current,
                QStringLiteral("STV"), QStringLiteral("Sitorva Project (*.stv)|*.stv"));
        };
        ModalSteps steps({ startedIn, startedIn, startedIn, startedIn });
        ask(QString());
        FileDialogs::setProjectFile(path("project/site.stv"));
        ask(QString());
        ask(QStringLiteral("pics/flower.png"));
        ask(path("prog/StvImageList"));
        QVERIFY(steps.done());
        QCOMPARE(started,
            QStringList({ path("home"), path("project"), path("project/pics"), path("project") }));

        QFile chosen(path("elsewhere/old.stv"));
        QVERIFY(chosen.open(QIODevice::WriteOnly));
        chosen.close();
        FileDialogs::setProjectFile(QString());
        started.clear();
        ModalSteps choose(
            { [this](QWidget *modal) { typeAndEnter(modal, path("elsewhere/old.stv")); },
                startedIn });
        QCOMPARE(ask(QString()), path("elsewhere/old.stv"));
        ask(QString());
        QCOMPARE(started, QStringList { path("elsewhere") });
        const Result<Settings> settings = loadSettings(path("prog/").toStdString());
        QVERIFY(settings);
        QCOMPARE(QString::fromStdString(settings.value().value(settingKey::LastFileFolder)),
            path("elsewhere"));
    }

    // The page the project wrote there is replaced on Enter; any other file is kept on Enter,
    // and the dialog stays open to choose another name.
    void replacingTheOwnPageIsTheDefault()
    {
        for (const char *name : { "project/index.html", "project/other.html" }) {
            QFile file(path(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.close();
        }
        QStringList defaults;
        const auto answerEnter = [&defaults](QWidget *modal) {
            auto *box = qobject_cast<QMessageBox *>(modal);
            QVERIFY(box != nullptr);
            QVERIFY(box->text().startsWith(QStringLiteral("index.html already exists.")));
            defaults << box->defaultButton()->text().remove(QLatin1Char('&'));
            QTest::keyClick(box, Qt::Key_Return);
        };
        const auto ask = [this] {
            return Dialogs::askSaveFile(nullptr, QStringLiteral("Create your web page as.."),
                path("project/index.html"), QStringLiteral(".html"),
                QStringLiteral("html file (*.html)|*.html"), path("project/index.html"));
        };
        ModalSteps own(
            { [](QWidget *modal) { typeAndEnter(modal, QStringLiteral("index")); }, answerEnter });
        QCOMPARE(ask(), path("project/index.html"));
        QVERIFY(own.done());
        QCOMPARE(defaults, QStringList { QStringLiteral("Yes") });

        bool stayed = false;
        ModalSteps other(
            { [](QWidget *modal) { typeAndEnter(modal, QStringLiteral("other.html")); },
                [&defaults, &stayed](QWidget *modal) {
                    auto *box = qobject_cast<QMessageBox *>(modal);
                    QVERIFY(box != nullptr);
                    defaults << box->defaultButton()->text().remove(QLatin1Char('&'));
                    QTest::keyClick(box, Qt::Key_Return);
                    // The answer No leaves the dialog open; the user gives up there.
                    QTimer::singleShot(100, [&stayed] {
                        QWidget *still = QApplication::activeModalWidget();
                        stayed = qobject_cast<QFileDialog *>(still) != nullptr;
                        if (still)
                            still->close();
                    });
                } });
        QCOMPARE(ask(), QString());
        QVERIFY(other.done());
        QVERIFY(stayed);
        QCOMPARE(defaults, QStringList({ QStringLiteral("Yes"), QStringLiteral("No") }));
    }

private:
    QString path(const char *name) const { return m_dir.filePath(QLatin1String(name)); }

    QTemporaryDir m_dir;
};

QTEST_MAIN(FileDialogsTest)
#include "FileDialogsTest.moc"
