// The real platform services where they can be tried without a user: the settings
// file, the instance lock, the generator and the message box's line breaks.
#include "platform/instance_lock.h"
#include "platform/services.h"

#include <QDir>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

class tst_platform : public QObject
{
    Q_OBJECT
    QTemporaryDir home;

private slots:
    void initTestCase()
    {
        QVERIFY(home.isValid());
        // Before any settings are touched, so the user's own are never read or written.
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath(QStringLiteral("config"))));
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(home.filePath(QStringLiteral("run"))));
        QDir().mkpath(home.filePath(QStringLiteral("run")));
        QFile::setPermissions(home.filePath(QStringLiteral("run")), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        platform::installRealServices();
    }

    void settingsLiveInTheUsersConfigFolder()
    {
        platform::SettingsStore &store = *platform::services().settings;
        QCOMPARE(store.read(QStringLiteral("Settings"), QStringLiteral("Duration")), QString());
        store.write(QStringLiteral("Settings"), QStringLiteral("Duration"), QStringLiteral("2026-12-07"));
        QCOMPARE(store.read(QStringLiteral("Settings"), QStringLiteral("Duration")), QStringLiteral("2026-12-07"));
        QFile file(home.filePath(QStringLiteral("config/brenvo/brenvo.conf")));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray text = file.readAll();
        QVERIFY2(text.contains("[Settings]\nDuration=2026-12-07"), text.constData());
    }

    void unwritableStoreRaises()
    {
        // A file where the folder should be stops even root from writing.
        QTemporaryDir blocked;
        QFile(blocked.filePath(QStringLiteral("brenvo"))).open(QIODevice::WriteOnly);
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, blocked.path());
        bool raised = false;
        try {
            platform::services().settings->write(QStringLiteral("Settings"), QStringLiteral("Duration"),
                                                 QStringLiteral("2026-12-07"));
        } catch (const platform::PlatformError &) {
            raised = true;
        }
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, home.filePath(QStringLiteral("config")));
        QVERIFY(raised);
    }

    void onlyOneClaimHoldsTheLock()
    {
        QVERIFY(platform::instanceLockPath().startsWith(home.filePath(QStringLiteral("run"))));
        QVERIFY(platform::claimInstanceLock());
        QVERIFY(!platform::claimInstanceLock());
        QVERIFY(!platform::services().instanceGuard->claim());
    }

    void generatorStaysInItsRange()
    {
        platform::RandomSource &random = *platform::services().random;
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
        request.text = QStringLiteral("first\rsecond");
        request.buttons = platform::BoxButtons::YesNo;
        request.icon = platform::BoxIcon::Information;
        QCOMPARE(platform::services().messageBox->show(request), platform::BoxAnswer::No);
        QCOMPARE(shownText, QStringLiteral("first\nsecond"));
        QVERIFY(yesIsDefault);
    }
};

QTEST_MAIN(tst_platform)
#include "tst_platform.moc"
