// The real platform services where they can be tried without a user: the settings
// file, the instance lock, the generator, the message box's line breaks and the commands
// made of $BROWSER.
#include "platform/browser_command.h"
#include "platform/instance_lock.h"
#include "platform/scale_factors.h"
#include "platform/services.h"
#ifndef Q_OS_WIN
#include "platform/display_choice.h"

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#endif

#include <QDir>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <optional>

class tst_platform : public QObject
{
    Q_OBJECT
    QTemporaryDir home;
    platform::Services real;

private slots:
    void initTestCase()
    {
        QVERIFY(home.isValid());
        // Before any settings are touched, so the user's own are never read or written.
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath(QStringLiteral("config"))));
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(home.filePath(QStringLiteral("run"))));
        QDir().mkpath(home.filePath(QStringLiteral("run")));
        QFile::setPermissions(home.filePath(QStringLiteral("run")),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        real = platform::realServices();
    }

#ifndef Q_OS_WIN
    void browserVariableBecomesCommands_data()
    {
        QTest::addColumn<QString>("variable");
        QTest::addColumn<QList<QStringList>>("commands"); // "A" stands for the address
        using Commands = QList<QStringList>;
        QTest::newRow("a name") << "firefox" << Commands{{"firefox", "A"}};
        QTest::newRow("its place for the address")
            << "firefox --new-window %s" << Commands{{"firefox", "--new-window", "A"}};
        QTest::newRow("the address inside a word") << "w3m -o url=%s" << Commands{{"w3m", "-o", "url=A"}};
        QTest::newRow("a percent sign") << "w3m 100%% %s" << Commands{{"w3m", "100%", "A"}};
        QTest::newRow("a path with a blank") << "/opt/My Browser/run" << Commands{{"/opt/My Browser/run", "A"}};
        QTest::newRow("a path with a blank, and arguments")
            << "/opt/My Browser/run %s --private" << Commands{{"/opt/My Browser/run", "A", "--private"}};
        QTest::newRow("a quoted path") << "\"/opt/My Browser/run\" %s" << Commands{{"/opt/My Browser/run", "A"}};
        QTest::newRow("a list, in order, without what names no program")
            << "missing:firefox %s::lynx" << Commands{{"firefox", "A"}, {"lynx", "A"}};
        QTest::newRow("the longer of two programs") << "/x/b dir/brow %s" << Commands{{"/x/b dir/brow", "A"}};
        QTest::newRow("the shorter, when the longer is none")
            << "/x/b dir/nothing" << Commands{{"/x/b", "dir/nothing", "A"}};
        QTest::newRow("nothing") << "" << Commands{};
        QTest::newRow("blanks only") << " : " << Commands{};
    }
    void browserVariableBecomesCommands()
    {
        QFETCH(QString, variable);
        QFETCH(QList<QStringList>, commands);
        const QStringList programs{"firefox", "w3m", "lynx", "/opt/My Browser/run", "/x/b", "/x/b dir/brow"};
        // An address a shell would take apart stays one argument.
        const QString address = QStringLiteral("https://www.example.org/a?b=1&c=2;d=$(e) f");
        const auto isProgram = [&](const QString &path) { return programs.contains(path); };
        for (QStringList &command : commands)
            command.replaceInStrings(QStringLiteral("A"), address);
        QCOMPARE(platform::browserCommands(variable, address, isProgram), commands);
    }

    // However long $BROWSER is, what is looked up stays bounded: thousands of entries, or
    // one of thousands of words, take a few thousand looks, not a process start each.
    void longBrowserListsStayBounded_data()
    {
        QTest::addColumn<QString>("variable");
        QTest::newRow("32768 entries") << QStringLiteral("nothing:").repeated(32768);
        QTest::newRow("8000 words") << QStringLiteral("nothing ").repeated(8000);
        QTest::newRow("10000 entries of 40 words") << (QStringLiteral("no ").repeated(40) + u':').repeated(10000);
    }
    void longBrowserListsStayBounded()
    {
        QFETCH(QString, variable);
        qsizetype looks = 0, longest = 0;
        const auto isProgram = [&](const QString &path) {
            ++looks;
            longest = qMax(longest, path.count(u' ') + 1);
            return false;
        };
        QCOMPARE(platform::browserCommands(variable, QStringLiteral("A"), isProgram), QList<QStringList>{});
        QVERIFY2(looks <= 4096 && longest <= 32,
                 qPrintable(QStringLiteral("%1 looks, %2 words").arg(looks).arg(longest)));
    }

    void unusableScaleFactorsAreDropped_data()
    {
        QTest::addColumn<QByteArray>("scale");
        QTest::addColumn<QByteArray>("screens");
        QTest::addColumn<bool>("usable");
        QTest::newRow("one") << QByteArray("1") << QByteArray() << true;
        QTest::newRow("the bounds") << QByteArray(" 0.5") << QByteArray("8") << true;
        QTest::newRow("named screens") << QByteArray() << QByteArray("HDMI-1=2;DP-1=1.25") << true;
        for (const char *bad : {"0", "1e-9", "1e9", "inf", "nan", "-1", "8.01", "", "two", "1,5"})
            QTest::addRow("%s", *bad ? bad : "empty") << QByteArray(bad) << QByteArray() << false;
        QTest::newRow("one screen of two") << QByteArray() << QByteArray("2;0") << false;
        QTest::newRow("a screen named only") << QByteArray() << QByteArray("HDMI-1=") << false;
    }
    void unusableScaleFactorsAreDropped()
    {
        QFETCH(QByteArray, scale);
        QFETCH(QByteArray, screens);
        QFETCH(bool, usable);
        const QByteArray name = screens.isNull() ? "QT_SCALE_FACTOR" : "QT_SCREEN_SCALE_FACTORS";
        const QByteArray value = screens.isNull() ? scale : screens;
        const std::optional<QByteArray> before =
            qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt;
        qputenv(name, value);
        const QStringList said = platform::dropUnusableScaleFactors();
        QCOMPARE(qEnvironmentVariableIsSet(name), usable);
        QCOMPARE(said.size(), usable ? 0 : 1);
        if (!usable)
            QVERIFY2(said[0].startsWith(QStringLiteral("brenvo: ") + QString::fromLatin1(name + '=' + value)),
                     qPrintable(said[0]));
        if (before)
            qputenv(name, *before);
        else
            qunsetenv(name);
    }

    void settingsLiveInTheUsersConfigFolder()
    {
        platform::SettingsStore &store = *real.settings;
        QCOMPARE(store.read(QStringLiteral("Settings"), QStringLiteral("Duration")), QString());
        store.write(QStringLiteral("Settings"), QStringLiteral("Duration"), QStringLiteral("2026-12-07"));
        QCOMPARE(store.read(QStringLiteral("Settings"), QStringLiteral("Duration")), QStringLiteral("2026-12-07"));
        QFile file(home.filePath(QStringLiteral("config/brenvo/brenvo.conf")));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray text = file.readAll();
        QVERIFY2(text.contains("[Settings]\nDuration=2026-12-07"), text.constData());
    }

    // X11 whenever an X server is reachable and the user chose nothing; else Qt decides.
    void displayPlatformChoice_data()
    {
        QTest::addColumn<QByteArray>("display");
        QTest::addColumn<QByteArray>("wayland");
        QTest::addColumn<QByteArray>("qpa");
        QTest::addColumn<QByteArrayList>("args");
        QTest::addColumn<QByteArray>("chosen");
        const QByteArrayList none{"brenvo"};
        for (const QByteArray &wayland : {QByteArray(), QByteArray("wayland-0")}) {
            const char *w = wayland.isEmpty() ? "no Wayland" : "Wayland";
            QTest::addRow("%s, X server", w)
                << QByteArray(":0") << wayland << QByteArray() << none << QByteArray("xcb");
            QTest::addRow("%s, X screen", w)
                << QByteArray(":0.1") << wayland << QByteArray() << none << QByteArray("xcb");
            QTest::addRow("%s, remote X", w)
                << QByteArray("host:10.0") << wayland << QByteArray() << none << QByteArray("xcb");
            QTest::addRow("%s, X gone", w) << QByteArray(":7") << wayland << QByteArray() << none << QByteArray();
            QTest::addRow("%s, no X", w) << QByteArray() << wayland << QByteArray() << none << QByteArray();
            QTest::addRow("%s, X, QT_QPA_PLATFORM", w)
                << QByteArray(":0") << wayland << QByteArray("wayland") << none << QByteArray();
            QTest::addRow("%s, X, -platform", w) << QByteArray(":0") << wayland << QByteArray()
                                                 << QByteArrayList{"brenvo", "-platform", "offscreen"} << QByteArray();
            QTest::addRow("%s, X, --platform", w) << QByteArray(":0") << wayland << QByteArray()
                                                  << QByteArrayList{"brenvo", "--platform", "wayland"} << QByteArray();
            QTest::addRow("%s, X, other options", w)
                << QByteArray(":0") << wayland << QByteArray() << QByteArrayList{"brenvo", "-style", "fusion"}
                << QByteArray("xcb");
            QTest::addRow("%s, program named -platform", w)
                << QByteArray(":0") << wayland << QByteArray() << QByteArrayList{"-platform"} << QByteArray("xcb");
        }
    }
    void displayPlatformChoice()
    {
        QFETCH(QByteArray, display);
        QFETCH(QByteArray, wayland);
        QFETCH(QByteArray, qpa);
        QFETCH(QByteArrayList, args);
        QFETCH(QByteArray, chosen);
        // Displays :0 and :0.1 have a server here, :7 has none.
        const auto reachable = [](const QByteArray &d) { return d != ":7"; };
        QCOMPARE(platform::chooseDisplayPlatform(args, {display, wayland, qpa}, reachable), chosen);
    }

    void xServerIsFoundByItsSocket_data()
    {
        QTest::addColumn<QByteArray>("display");
        QTest::addColumn<QString>("socket");
        const QString x0 = QStringLiteral("/tmp/.X11-unix/X0");
        QTest::newRow(":0") << QByteArray(":0") << x0;
        QTest::newRow(":0.1") << QByteArray(":0.1") << x0;
        QTest::newRow("unix:0") << QByteArray("unix:0") << x0;
        QTest::newRow("unix:0.0") << QByteArray("unix:0.0") << x0;
        QTest::newRow(":42") << QByteArray(":42") << QStringLiteral("/tmp/.X11-unix/X42");
        QTest::newRow("long number") << QByteArray(":98765432109876543210")
                                     << QStringLiteral("/tmp/.X11-unix/X98765432109876543210");
        QTest::newRow("empty") << QByteArray() << QString();
        QTest::newRow("colon alone") << QByteArray(":") << QString();
        QTest::newRow("no screen after dot") << QByteArray(":0.") << QString();
        QTest::newRow("two dots") << QByteArray(":0.1.2") << QString();
        QTest::newRow("letters") << QByteArray(":0a") << QString();
        QTest::newRow("path in number") << QByteArray(":../0") << QString();
        QTest::newRow("remote") << QByteArray("remote.example:0") << QString();
        QTest::newRow("unix without number") << QByteArray("unix:") << QString();
        QTest::newRow("nonsense") << QByteArray("nonsense") << QString();
    }
    void xServerIsFoundByItsSocket()
    {
        QFETCH(QByteArray, display);
        QFETCH(QString, socket);
        QCOMPARE(platform::localXSocket(display), socket);
    }
    void xServerIsReachableWhileItsSocketListens()
    {
        // An X server of our own making: a socket that listens where X servers do.
        const QByteArray display = ":" + QByteArray::number(7000 + QCoreApplication::applicationPid() % 1000);
        const QByteArray path = platform::localXSocket(display).toLocal8Bit();
        // Made as X servers make it, open to all with the sticky bit, when none ran yet.
        if (::mkdir("/tmp/.X11-unix", 01777) == 0)
            ::chmod("/tmp/.X11-unix", 01777);
        if (QFileInfo::exists(QString::fromLocal8Bit(path)))
            QSKIP("an X server of that number is running here");
        QVERIFY(!platform::xServerReachable(display));
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        QVERIFY(fd >= 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        qstrncpy(address.sun_path, path.constData(), sizeof address.sun_path);
        if (::bind(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0) {
            ::close(fd);
            QSKIP("no socket can be made in /tmp/.X11-unix");
        }
        ::listen(fd, 1);
        const bool whileListening = platform::xServerReachable(display);
        ::close(fd);
        ::unlink(path.constData());
        QVERIFY(whileListening);
        QVERIFY(!platform::xServerReachable(display));
    }
    void xServerReachableWithoutASocket()
    {
        QVERIFY(!platform::xServerReachable(""));
        QVERIFY(!platform::xServerReachable(":987654"));
        QVERIFY(platform::xServerReachable("remote.example:0"));
        QVERIFY(!platform::xServerReachable("unix:x"));
        QVERIFY(!platform::xServerReachable("nonsense"));
    }
#endif

    void onlyOneClaimHoldsTheLock()
    {
#ifdef Q_OS_WIN
        QSKIP("one process holds the session's mutex once; tests/windows/tst_wine.py refuses a second copy");
#endif
        QVERIFY(platform::instanceLockPath().startsWith(home.filePath(QStringLiteral("run"))));
        QVERIFY(platform::claimInstanceLock());
        QVERIFY(!platform::claimInstanceLock());
        QVERIFY(!real.instanceGuard->claim());
    }

    void generatorStaysInItsRange()
    {
        platform::RandomSource &random = *real.random;
        random.seedFromClock();
        double sum = 0;
        int quarters[4] = {};
        for (int i = 0; i < 100000; ++i) {
            const float r = random.next();
            QVERIFY(r >= 0.0f && r < 1.0f);
            sum += r;
            ++quarters[int(r * 4.0f)];
        }
        QVERIFY(qAbs(sum / 100000 - 0.5) < 0.01);
        for (int q : quarters)
            QVERIFY(q > 20000);
    }

    void messageBoxShowsALoneCarriageReturnAsALineBreak()
    {
        QString shownText;
        bool yesIsDefault = false;
        QTimer::singleShot(0, this, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            shownText = box->text();
            yesIsDefault = box->defaultButton() == box->button(QMessageBox::Yes);
            box->button(QMessageBox::No)->click();
        });
        platform::BoxRequest request;
        request.text = QStringLiteral("first\rsecond\r\nthird\r");
        request.buttons = platform::BoxButtons::YesNo;
        request.icon = platform::BoxIcon::Information;
        QCOMPARE(real.messageBox->show(request), platform::BoxAnswer::No);
        QCOMPARE(shownText, QStringLiteral("first\nsecond\r\nthird\n"));
        QVERIFY(yesIsDefault);
    }

    // A box raised by a window is that window's modal child, so the window manager
    // keeps it in front of it (even of a window that stays on top).
    void messageBoxBelongsToItsWindow()
    {
        QWidget window;
        window.setWindowFlag(Qt::WindowStaysOnTopHint);
        QLineEdit field(&window);
        window.show();
        QWidget *parent = nullptr;
        bool modal = false;
        QTimer::singleShot(0, this, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            parent = box->parentWidget();
            modal = box->isModal();
            box->button(QMessageBox::Ok)->click();
        });
        QCOMPARE(platform::messageBox(*real.messageBox, &field, QStringLiteral("text")), platform::BoxAnswer::Ok);
        QCOMPARE(parent, &window);
        QVERIFY(modal);
    }

    // With no browser at all, what Qt says about it names the page, never the query
    // with the names and e-mail addresses of a referral.
    void nothingPersonalIsLogged()
    {
        const QByteArray path = qgetenv("PATH");
        const QByteArray browser = qgetenv("BROWSER");
        QTemporaryDir empty;
        qputenv("PATH", QFile::encodeName(empty.path()));
        qunsetenv("BROWSER");
        static QStringList messages;
        messages.clear();
        const QtMessageHandler previous = qInstallMessageHandler(
            [](QtMsgType, const QMessageLogContext &, const QString &message) { messages << message; });
        real.urlOpener->open(QStringLiteral("https://www.talvern.example/brenvo/ssd.php?page=kesp-refer-a-friend"
                                            "&taf1=Ann%20Lee&taf2=ann%40example.org&taf3=Hi"));
        qInstallMessageHandler(previous);
        qputenv("PATH", path);
        qputenv("BROWSER", browser);
        QVERIFY(!messages.isEmpty()); // Qt did say that no browser took it
        for (const QString &m : messages) {
            QVERIFY2(!m.contains(QStringLiteral("Ann")) && !m.contains(QStringLiteral("example.org"))
                         && !m.contains(QStringLiteral("taf")),
                     qPrintable(m));
        }
        QVERIFY(messages.join(u' ').contains(QStringLiteral("kesp-refer-a-friend")));
    }
};

QTEST_MAIN(tst_platform)
#include "tst_platform.moc"
