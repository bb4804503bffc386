// What Brenvo finds where it keeps things is the user's: the settings file and the lock,
// tried on real files in a fresh home with the real store (on Windows the registry, in
// a key of the test's own). Bytes are compared before and after.
#include "fakes.h"
#include "platform/instance_lock.h"
#include "web/pages.h"
#include "web/update_prompt.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#ifdef Q_OS_WIN
#include "platform/settings_registry.h"
#include <qt_windows.h>
#else
#include "platform/settings_file.h"
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {
const QString kPrompt =
    QStringLiteral("There maybe an update to this software available\rDo you want to check for an update?");

#ifndef Q_OS_WIN
QByteArray bytesOf(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

void put(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(bytes), bytes.size());
}

#else
// What the registry holds under a name: its type and its bytes, as the user left them.
struct Value
{
    DWORD type = REG_NONE;
    QByteArray data;
    bool operator==(const Value &) const = default;
};

Value valueAt(const QString &key, const QString &name)
{
    const std::wstring k = key.toStdWString(), n = name.toStdWString();
    Value v;
    DWORD size = 0;
    if (RegGetValueW(HKEY_CURRENT_USER, k.c_str(), n.c_str(), RRF_RT_ANY | RRF_NOEXPAND, &v.type, nullptr, &size)
        != ERROR_SUCCESS)
        return {};
    v.data.resize(qsizetype(size));
    RegGetValueW(HKEY_CURRENT_USER, k.c_str(), n.c_str(), RRF_RT_ANY | RRF_NOEXPAND, nullptr, v.data.data(), &size);
    return v;
}

void setAt(const QString &key, const QString &name, const Value &v)
{
    const std::wstring k = key.toStdWString(), n = name.toStdWString();
    QCOMPARE(RegSetKeyValueW(HKEY_CURRENT_USER, k.c_str(), n.c_str(), v.type, v.data.constData(), DWORD(v.data.size())),
             LONG(ERROR_SUCCESS));
}

Value typed(DWORD type, const QString &t)
{
    return {type, QByteArray(reinterpret_cast<const char *>(t.utf16()), (t.size() + 1) * 2)};
}

Value text(const QString &t)
{
    return typed(REG_SZ, t);
}
#endif

// The update prompt runs as start-up runs it: a failure ends it and is ignored.
void offerUpdate()
{
    try {
        updatePrompt::OfferUpdateCheck(fakes::program().services());
    } catch (const platform::PlatformError &) {
    }
}
} // namespace

#ifdef Q_OS_WIN
Q_DECLARE_METATYPE(Value)
#endif

class tst_userfiles : public QObject
{
    Q_OBJECT
    fakes::Installed f{};
#ifdef Q_OS_WIN
    // A key of the test's own under HKEY_CURRENT_USER, never the user's Brenvo key.
    const QString base = QStringLiteral("Software\\Brenvo-test-%1").arg(QCoreApplication::applicationPid());
    const QString key = base + QStringLiteral("\\Settings");
#else
    std::unique_ptr<QTemporaryDir> home;
    QString conf;

    QString at(const QString &relative) const
    {
        return home->filePath(relative);
    }
#endif

private slots:
    void initTestCase()
    {
        fakes::prepareApplication();
    }
    void init()
    {
#ifdef Q_OS_WIN
        RegDeleteTreeW(HKEY_CURRENT_USER, base.toStdWString().c_str());
        f = fakes::resetProgram();
        fakes::program().services().settings = std::make_unique<platform::RegistrySettingsStore>(base);
#else
        home = std::make_unique<QTemporaryDir>();
        QVERIFY(home->isValid());
        qputenv("HOME", QFile::encodeName(home->path()));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(at(QStringLiteral("config"))));
        qputenv("XDG_CACHE_HOME", QFile::encodeName(at(QStringLiteral("cache"))));
        QDir().mkpath(at(QStringLiteral("run")));
        ::chmod(QFile::encodeName(at(QStringLiteral("run"))).constData(), 0700);
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(at(QStringLiteral("run"))));
        conf = at(QStringLiteral("config/brenvo/brenvo.conf"));
        f = fakes::resetProgram();
        fakes::program().services().settings = std::make_unique<platform::FileSettingsStore>();
#endif
        f.clock->date = QDate(2026, 12, 7);
    }
    void cleanup()
    {
        QCOMPARE(f.boxes->unscriptedBoxes, 0);
        fakes::resetProgram();
#ifdef Q_OS_WIN
        RegDeleteTreeW(HKEY_CURRENT_USER, base.toStdWString().c_str());
#endif
    }

#ifdef Q_OS_WIN
    void firstStartWritesToday()
    {
        offerUpdate();
        QCOMPARE(valueAt(key, QStringLiteral("Duration")), text(QStringLiteral("2026-12-07")));
        QVERIFY(f.boxes->shown.empty());
    }

    // A value that is not a Brenvo date, of whatever type, is never written over and
    // brings no prompt.
    void valuesThatAreNotDatesStay_data()
    {
        QTest::addColumn<Value>("stored");
        QTest::newRow("text") << text(QStringLiteral("soon"));
        QTest::newRow("long text") << text(QString(5000, u'7'));
        QTest::newRow("number") << Value{REG_DWORD, QByteArray("\x07\0\0\0", 4)};
        QTest::newRow("bytes") << Value{REG_BINARY, QByteArray("2020-01-01")};
        QTest::newRow("expandable text") << typed(REG_EXPAND_SZ, QStringLiteral("2020-01-01"));
        QTest::newRow("list of texts") << typed(REG_MULTI_SZ, QStringLiteral("2020-01-01"));
    }
    void valuesThatAreNotDatesStay()
    {
        QFETCH(Value, stored);
        setAt(key, QStringLiteral("Duration"), stored);
        f.boxes->answers = {platform::BoxAnswer::Yes};
        offerUpdate();
        QVERIFY(f.boxes->shown.empty());
        QVERIFY(f.browser->opened.isEmpty());
        QVERIFY(valueAt(key, QStringLiteral("Duration")) == stored);
        f.boxes->answers.clear();
    }

    // A date due again is replaced in the one value; the key's other values and keys stay.
    void changesOnlyTheDate()
    {
        const Value extra{REG_DWORD, QByteArray("\x01\0\0\0", 4)}, note = text(QStringLiteral("mine"));
        setAt(key, QStringLiteral("Duration"), text(QStringLiteral("2026-11-01")));
        setAt(key, QStringLiteral("Extra"), extra);
        setAt(key, QStringLiteral("Note"), note);
        setAt(key + QStringLiteral("\\Other"), QStringLiteral("Duration"), note);
        f.boxes->answers = {platform::BoxAnswer::No};
        offerUpdate();
        QCOMPARE(int(f.boxes->shown.size()), 1);
        QCOMPARE(valueAt(key, QStringLiteral("Duration")), text(QStringLiteral("2026-12-07")));
        QVERIFY(valueAt(key, QStringLiteral("Extra")) == extra);
        QVERIFY(valueAt(key, QStringLiteral("Note")) == note);
        QVERIFY(valueAt(key + QStringLiteral("\\Other"), QStringLiteral("Duration")) == note);
    }
#else

    void firstStartWritesToday()
    {
        offerUpdate();
        QCOMPARE(bytesOf(conf), QByteArray("[Settings]\nDuration=2026-12-07\n"));
        QVERIFY(f.boxes->shown.empty());
    }

    // Files that are not settings files Brenvo can change without loss: never
    // rewritten, and the date in them counts as unreadable (no prompt).
    void foreignContentIsLeftByteForByte_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("binary") << QByteArray("\x7f"
                                              "ELF\x02\x01\x01\x00\x00[Settings]\nDuration=2020-01-01\n",
                                              33);
        QTest::newRow("plain-text note") << QByteArray("Buy milk.\nCall Ann about the trip.\n");
        QTest::newRow("line without =") << QByteArray("[Settings]\nDuration=2020-01-01\n[Other]\njust words\n");
        QTest::newRow("non-UTF-8 key") << QByteArray("[Other]\nk\xe9y=1\n[Settings]\nDuration=2020-01-01\n");
        QTest::newRow("NUL bytes") << QByteArray(1 << 20, '\0');
        QTest::newRow("large") << QByteArray("[Settings]\nDuration=2020-01-01\n[Big]\n")
                                      + QByteArray("k=v\n").repeated(50000);
    }
    void foreignContentIsLeftByteForByte()
    {
        QFETCH(QByteArray, bytes);
        put(conf, bytes);
        f.boxes->answers = {platform::BoxAnswer::Yes};
        offerUpdate();
        QVERIFY(bytesOf(conf) == bytes);
        QVERIFY(f.boxes->shown.empty());
        QVERIFY(f.browser->opened.isEmpty());
        f.boxes->answers.clear();
    }

    // A settings file is changed in the one line; every other byte stays.
    void changesOnlyTheDate_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("comments and other sections")
            << QByteArray("; mine\n[Other]\nkey = some value\n\n[Settings]\n# kept\nDuration=2026-11-01\nExtra=1\n")
            << QByteArray("; mine\n[Other]\nkey = some value\n\n[Settings]\n# kept\nDuration=2026-12-07\nExtra=1\n");
        QTest::newRow("CR LF and blanks round =") << QByteArray("[Settings]\r\nDuration = 2026-11-01\r\n")
                                                  << QByteArray("[Settings]\r\nDuration =2026-12-07\r\n");
        QTest::newRow("section without the value")
            << QByteArray("[Settings]\nOther=x\n\n[More]\na=b")
            << QByteArray("[Settings]\nOther=x\nDuration=2026-12-07\n\n[More]\na=b");
        QTest::newRow("no section, no final line break")
            << QByteArray("[More]\na=b") << QByteArray("[More]\na=b\n\n[Settings]\nDuration=2026-12-07\n");
        QTest::newRow("non-ASCII text elsewhere")
            << QByteArray("[Notiz]\nText=Grüße, ☃\n[Settings]\nDuration=\"2026-11-01\"\n")
            << QByteArray("[Notiz]\nText=Grüße, ☃\n[Settings]\nDuration=2026-12-07\n");
    }
    void changesOnlyTheDate()
    {
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        put(conf, before);
        const bool due = before.contains("2026-11-01");
        if (due)
            f.boxes->answers = {platform::BoxAnswer::No};
        offerUpdate();
        QCOMPARE(int(f.boxes->shown.size()), due ? 1 : 0);
        QCOMPARE(bytesOf(conf), after);
    }

    // Values that are not dates: no prompt and no write, at every start.
    void valuesThatAreNotDatesStay_data()
    {
        QTest::addColumn<QByteArray>("value");
        QTest::newRow("words") << QByteArray("Dec 7, 2026");
        QTest::newRow("@Invalid()") << QByteArray("@Invalid()");
        QTest::newRow("@Variant") << QByteArray("@Variant(\\0\\0\\0\\x7f\\0\\0\\0\\nQByteArray)");
        QTest::newRow("day first") << QByteArray("07/12/2026");
    }
    void valuesThatAreNotDatesStay()
    {
        QFETCH(QByteArray, value);
        const QByteArray bytes = "[Settings]\nDuration=" + value + "\n";
        put(conf, bytes);
        offerUpdate();
        offerUpdate();
        QVERIFY(f.boxes->shown.empty());
        QCOMPARE(bytesOf(conf), bytes);
    }

    // Anything but a regular file (or a link to one) at the settings path is never
    // opened for long, never written and never replaced.
    void specialFilesAreLeftAlone_data()
    {
        QTest::addColumn<QString>("kind");
        for (const char *kind : {"fifo", "folder", "link to fifo", "link to note", "dangling link", "link to device"})
            QTest::newRow(kind) << QString::fromLatin1(kind);
    }
    void specialFilesAreLeftAlone()
    {
        QFETCH(QString, kind);
        QDir().mkpath(QFileInfo(conf).absolutePath());
        const QString note = at(QStringLiteral("notes.txt"));
        put(note, "Buy milk.\n");
        const QByteArray path = QFile::encodeName(conf);
        if (kind == QLatin1String("fifo"))
            QCOMPARE(::mkfifo(path.constData(), 0600), 0);
        else if (kind == QLatin1String("folder"))
            QVERIFY(QDir().mkpath(conf));
        else if (kind == QLatin1String("link to fifo")) {
            QCOMPARE(::mkfifo(QFile::encodeName(at(QStringLiteral("pipe"))).constData(), 0600), 0);
            QVERIFY(QFile::link(at(QStringLiteral("pipe")), conf));
        } else if (kind == QLatin1String("link to note"))
            QVERIFY(QFile::link(note, conf));
        else if (kind == QLatin1String("dangling link"))
            QVERIFY(QFile::link(at(QStringLiteral("nowhere")), conf));
        else
            QVERIFY(QFile::link(QStringLiteral("/dev/null"), conf));
        struct stat before
        {
        };
        QCOMPARE(::lstat(path.constData(), &before), 0);

        offerUpdate();
        // Reached at all: a FIFO never held it (a hang ends in the test's time-out).

        struct stat after
        {
        };
        QCOMPARE(::lstat(path.constData(), &after), 0);
        QCOMPARE(after.st_mode, before.st_mode);
        QCOMPARE(after.st_ino, before.st_ino);
        QCOMPARE(bytesOf(note), QByteArray("Buy milk.\n"));
        QVERIFY(!QFileInfo::exists(at(QStringLiteral("nowhere"))));
        struct stat device
        {
        };
        QCOMPARE(::stat("/dev/null", &device), 0);
        QVERIFY(S_ISCHR(device.st_mode));
        QVERIFY(f.boxes->shown.empty());
    }

    void linkToASettingsFileIsWrittenThrough()
    {
        const QString target = at(QStringLiteral("dotfiles/brenvo.conf"));
        put(target, "; managed elsewhere\n[Settings]\nDuration=2026-12-01\n");
        QFile::setPermissions(target, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        QDir().mkpath(QFileInfo(conf).absolutePath());
        QVERIFY(QFile::link(target, conf));
        fakes::program().services().settings->write(QStringLiteral("Settings"), QStringLiteral("Duration"),
                                                    QStringLiteral("2026-12-07"));
        QVERIFY(QFileInfo(conf).isSymLink());
        QCOMPARE(bytesOf(target), QByteArray("; managed elsewhere\n[Settings]\nDuration=2026-12-07\n"));
        QCOMPARE(QFile::permissions(target),
                 QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser | QFileDevice::WriteUser);
    }

    // A disk that fills while the new text is written: the old file stays whole, and no
    // half-written copy is left beside it. A file-size limit makes the writes fail as a
    // full disk does.
    void fullDiskKeepsTheOldFile_data()
    {
        QTest::addColumn<int>("room"); // bytes that still fit
        QTest::newRow("nothing fits") << 0;
        QTest::newRow("part of the text fits") << 20;
    }
    void fullDiskKeepsTheOldFile()
    {
        QFETCH(int, room);
        const QByteArray before("; mine, keep me\n[Other]\nkey=value\n[Settings]\nDuration=2026-11-01\n");
        put(conf, before);
        f.boxes->answers = {platform::BoxAnswer::Yes};
        struct rlimit saved
        {
        };
        QCOMPARE(::getrlimit(RLIMIT_FSIZE, &saved), 0);
        const auto previous = std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit full = saved;
        full.rlim_cur = rlim_t(room);
        QCOMPARE(::setrlimit(RLIMIT_FSIZE, &full), 0);
        offerUpdate();
        ::setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previous);
        QCOMPARE(bytesOf(conf), before);
        QCOMPARE(QDir(QFileInfo(conf).absolutePath()).entryList(QDir::Files | QDir::Hidden | QDir::System),
                 QStringList{QStringLiteral("brenvo.conf")});
        // Yes still opens the update page.
        QCOMPARE(f.browser->opened.size(), 1);
    }

    // A copy killed while it replaced the file leaves its temporary file behind; the next
    // write clears it. Anything else beside the file, and what is not the user's own, stays.
    void staleTemporaryFilesAreCleared()
    {
        put(conf, "[Settings]\nDuration=2026-12-01\n");
        const QString dir = QFileInfo(conf).absolutePath();
        const QString stale = dir + QStringLiteral("/brenvo.conf.brenvo-tmp-a1B2c3");
        put(stale, "[Settings]\nDuration=2026-12-01\n");
        const QStringList kept{QStringLiteral("brenvo.conf.backup"), QStringLiteral("brenvo.conf.brenvo-tmp-mine"),
                               QStringLiteral("brenvo.conf.brenvo-tmp-1234567"),
                               QStringLiteral("notes.brenvo-tmp-x1y2z3")};
        for (const QString &name : kept)
            put(dir + u'/' + name, "mine\n");
        const QString target = at(QStringLiteral("elsewhere"));
        put(target, "mine\n");
        QVERIFY(QFile::link(target, dir + QStringLiteral("/brenvo.conf.brenvo-tmp-Zz9Yy8")));
        const QString someoneElses = dir + QStringLiteral("/brenvo.conf.brenvo-tmp-Other1");
        put(someoneElses, "theirs\n");
        const bool asRoot = ::geteuid() == 0;
        if (asRoot)
            QCOMPARE(::chown(QFile::encodeName(someoneElses).constData(), 65534, 65534), 0);
        fakes::program().services().settings->write(QStringLiteral("Settings"), QStringLiteral("Duration"),
                                                    QStringLiteral("2026-12-07"));
        QVERIFY(!QFileInfo::exists(stale));
        for (const QString &name : kept)
            QCOMPARE(bytesOf(dir + u'/' + name), QByteArray("mine\n"));
        QVERIFY(QFileInfo(dir + QStringLiteral("/brenvo.conf.brenvo-tmp-Zz9Yy8")).isSymLink());
        QCOMPARE(bytesOf(target), QByteArray("mine\n"));
        QCOMPARE(QFileInfo::exists(someoneElses), asRoot);
        QCOMPARE(bytesOf(conf), QByteArray("[Settings]\nDuration=2026-12-07\n"));
    }

    void relativeConfigHomeIsIgnored()
    {
        qputenv("XDG_CONFIG_HOME", "relative/config");
        QCOMPARE(platform::settingsPath(), at(QStringLiteral(".config/brenvo/brenvo.conf")));
        offerUpdate();
        QVERIFY(QFileInfo::exists(at(QStringLiteral(".config/brenvo/brenvo.conf"))));
        QVERIFY(!QFileInfo::exists(QDir::current().filePath(QStringLiteral("relative"))));
    }

#endif

    void yesOpensThePageWhenTheDateCannotBeStored()
    {
        auto settings = std::make_unique<fakes::Settings>();
        settings->values.insert(QStringLiteral("Settings/Duration"), QStringLiteral("2026-11-01"));
        settings->unwritable = true;
        fakes::program().services().settings = std::move(settings);
        f.boxes->answers = {platform::BoxAnswer::Yes};
        offerUpdate();
        QCOMPARE(int(f.boxes->shown.size()), 1);
        QCOMPARE(f.boxes->shown[0].text, kPrompt);
        QCOMPARE(f.browser->opened,
                 QStringList{QStringLiteral("https://www.talvern.example/brenvo/ssd.php?page=download-web-page")});
    }

#ifndef Q_OS_WIN
    // The lock lives only where no one else can take or redirect it.
    void lockLivesInAPrivateFolder_data()
    {
        QTest::addColumn<QString>("runtime"); // what XDG_RUNTIME_DIR holds
        QTest::addColumn<bool>("inRuntime");
        QTest::newRow("private runtime folder") << "run" << true;
        QTest::newRow("unset") << "" << false;
        QTest::newRow("shared /tmp") << "/tmp" << false;
        QTest::newRow("group-writable") << "shared" << false;
        QTest::newRow("relative") << "run-relative" << false;
        QTest::newRow("link to the runtime folder") << "runlink" << false;
    }
    void lockLivesInAPrivateFolder()
    {
        QFETCH(QString, runtime);
        QFETCH(bool, inRuntime);
        QDir().mkpath(at(QStringLiteral("shared")));
        ::chmod(QFile::encodeName(at(QStringLiteral("shared"))).constData(), 0770);
        QFile::link(at(QStringLiteral("run")), at(QStringLiteral("runlink")));
        if (runtime.isEmpty())
            qunsetenv("XDG_RUNTIME_DIR");
        else if (runtime == QLatin1String("run-relative"))
            qputenv("XDG_RUNTIME_DIR", "run");
        else
            qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.startsWith(u'/') ? runtime : at(runtime)));
        const QString path = platform::instanceLockPath();
        if (inRuntime) {
            QCOMPARE(path, at(QStringLiteral("run/brenvo.lock")));
            return;
        }
        QCOMPARE(path, at(QStringLiteral("cache/brenvo/brenvo.lock")));
        struct stat st
        {
        };
        QCOMPARE(::lstat(QFile::encodeName(at(QStringLiteral("cache/brenvo"))).constData(), &st), 0);
        QVERIFY(S_ISDIR(st.st_mode));
        QCOMPARE(st.st_mode & 0777, mode_t(0700));
        QVERIFY(platform::claimInstanceLock());
        QVERIFY(!platform::claimInstanceLock()); // another holder is the only refusal
    }

    // A lock path in the runtime folder that cannot be used sends the lock to the cache,
    // so a second copy is still refused; what was at the path stays as it was.
    void spoiledRuntimeLockFallsBackToTheCache_data()
    {
        QTest::addColumn<QString>("kind");
        for (const char *kind :
             {"read-only runtime folder", "folder", "fifo", "dangling link", "link to a file", "someone else's file"})
            QTest::newRow(kind) << QString::fromLatin1(kind);
    }
    void spoiledRuntimeLockFallsBackToTheCache()
    {
        QFETCH(QString, kind);
        const bool asRoot = ::geteuid() == 0;
        if (kind == QLatin1String("read-only runtime folder") && asRoot)
            QSKIP("root writes into a read-only folder; the unprivileged run covers this row");
        if (kind == QLatin1String("someone else's file") && !asRoot)
            QSKIP("only root can make a file of someone else's; the run as root covers this row");
        const QString run = at(QStringLiteral("run"));
        const QString lock = run + QStringLiteral("/brenvo.lock");
        const QByteArray lockName = QFile::encodeName(lock);
        const QString elsewhere = at(QStringLiteral("elsewhere"));
        if (kind == QLatin1String("read-only runtime folder"))
            QCOMPARE(::chmod(QFile::encodeName(run).constData(), 0500), 0);
        else if (kind == QLatin1String("folder"))
            QVERIFY(QDir().mkpath(lock));
        else if (kind == QLatin1String("fifo"))
            QCOMPARE(::mkfifo(lockName.constData(), 0600), 0);
        else if (kind == QLatin1String("dangling link"))
            QVERIFY(QFile::link(elsewhere, lock));
        else if (kind == QLatin1String("link to a file")) {
            put(elsewhere, "mine\n");
            QVERIFY(QFile::link(elsewhere, lock));
        } else {
            put(lock, "theirs\n");
            QCOMPARE(::chown(lockName.constData(), 65534, 65534), 0);
        }
        struct stat before
        {
        };
        const bool existed = ::lstat(lockName.constData(), &before) == 0;

        QVERIFY(platform::claimInstanceLock());
        const bool secondStart = platform::claimInstanceLock();
        ::chmod(QFile::encodeName(run).constData(), 0700);
        QVERIFY(!secondStart);
        QVERIFY(QFileInfo::exists(at(QStringLiteral("cache/brenvo/brenvo.lock"))));
        struct stat after
        {
        };
        QCOMPARE(::lstat(lockName.constData(), &after) == 0, existed);
        if (existed) {
            QCOMPARE(after.st_mode, before.st_mode);
            QCOMPARE(after.st_ino, before.st_ino);
            QCOMPARE(after.st_uid, before.st_uid);
        }
        QCOMPARE(QFileInfo::exists(elsewhere), kind == QLatin1String("link to a file"));
        if (kind == QLatin1String("link to a file"))
            QCOMPARE(bytesOf(elsewhere), QByteArray("mine\n"));
    }

    // Without a runtime folder and with a spoiled cache folder, the lock is a file in the
    // settings folder: a second copy is still refused, the cache left as it is. With that
    // folder spoiled too, Brenvo starts unguarded, and says so.
    void spoiledCacheFallsBackToTheSettingsFolder_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("settingsPrivate");
        for (const char *kind : {"a file", "a link to a folder of the user's", "a folder the user may not write"})
            QTest::newRow(kind) << QString::fromLatin1(kind) << true;
        QTest::newRow("a file, the settings folder open to the group") << QStringLiteral("a file") << false;
    }
    void spoiledCacheFallsBackToTheSettingsFolder()
    {
        QFETCH(QString, kind);
        QFETCH(bool, settingsPrivate);
        qunsetenv("XDG_RUNTIME_DIR");
        const QString cache = at(QStringLiteral("cache/brenvo"));
        if (kind == QLatin1String("a file")) {
            put(cache, "a file where the folder would be\n");
        } else if (kind == QLatin1String("a link to a folder of the user's")) {
            QVERIFY(QDir().mkpath(at(QStringLiteral("mine"))));
            QVERIFY(QDir().mkpath(at(QStringLiteral("cache"))));
            QVERIFY(QFile::link(at(QStringLiteral("mine")), cache));
        } else {
            if (::geteuid() == 0)
                QSKIP("root writes into a read-only folder; the unprivileged run covers this row");
            QVERIFY(QDir().mkpath(at(QStringLiteral("cache"))));
            QCOMPARE(::chmod(QFile::encodeName(at(QStringLiteral("cache"))).constData(), 0500), 0);
        }
        const QString settings = at(QStringLiteral("config/brenvo"));
        if (!settingsPrivate) { // as umask 002 makes it
            QVERIFY(QDir().mkpath(settings));
            QCOMPARE(::chmod(QFile::encodeName(settings).constData(), 0775), 0);
        }
        const QString expected = settingsPrivate ? settings + QStringLiteral("/brenvo.lock") : QString();
        QCOMPARE(platform::instanceLockPath(), expected);
        QVERIFY(platform::claimInstanceLock());
        const bool secondStart = platform::claimInstanceLock();
        ::chmod(QFile::encodeName(at(QStringLiteral("cache"))).constData(), 0700);
        QCOMPARE(secondStart, !settingsPrivate); // unguarded: rather start than never
        QCOMPARE(QFileInfo::exists(settings + QStringLiteral("/brenvo.lock")), settingsPrivate);
        if (kind == QLatin1String("a file"))
            QCOMPARE(bytesOf(cache), QByteArray("a file where the folder would be\n"));
        else if (kind == QLatin1String("a link to a folder of the user's"))
            QCOMPARE(QDir(at(QStringLiteral("mine"))).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
                     QStringList());
    }
#endif
};

QTEST_MAIN(tst_userfiles)
#include "tst_userfiles.moc"
