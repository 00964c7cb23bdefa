#include "platform/nwserver/demofiles.h"

#include "platform/nwserver/server.h"

#include <QFile>

namespace nwserver::demo {

using namespace nwproto;

namespace {

const QDateTime kBase(QDate(1998, 3, 2), QTime(8, 15));

struct Builder {
    Server& s;
    FileSystem& fs = s.fileSystem();
    int step = 0;

    // Each file gets its own moment, a few hours after the one before.
    QDateTime next()
    {
        const qint64 n = step++;
        return kBase.addSecs(n * 5 * 3600 + 37 * n);
    }
    uint32_t user(const QString& name) const
    {
        const auto o = s.objects().find(name, objtype::Wild);
        return o ? o->id : kSupervisorId;
    }
    void dir(const QString& path, const QString& owner = QStringLiteral("SUPERVISOR"))
    {
        fs.makeDirectory(path, user(owner), next());
    }
    FsEntry file(const QString& path, const QByteArray& data,
        const QString& owner = QStringLiteral("SUPERVISOR"))
    {
        FsEntry e;
        fs.putFile(path, data, user(owner), next(), &e);
        return e;
    }
    std::optional<FsEntry> find(const QString& path) const
    {
        const qsizetype colon = path.indexOf(u':');
        const auto v = fs.volumeByName(path.left(colon));
        auto e = v ? fs.entry(v->root) : std::nullopt;
        for (const QString& n : path.mid(colon + 1).split(u'\\', Qt::SkipEmptyParts))
            e = e ? fs.child(e->id, n, ns::Long) : std::nullopt;
        return e;
    }
    FsEntry at(const QString& path) const { return *find(path); }
    // Writes the file unless it is there already with these contents: worlds made by an
    // earlier build catch up on every start, and a world that has them is left alone.
    void keep(const QString& path, const QByteArray& data)
    {
        const auto e = find(path);
        if (e && e->size == data.size()) {
            const auto v = fs.volume(e->volume);
            QFile f(fs.volumeFolder(v->name) + u'/'
                + fs.fullPath(*e, ns::Long).mid(v->name.size() + 1).replace(u'\\', u'/'));
            if (f.open(QIODevice::ReadOnly) && f.readAll() == data)
                return;
        }
        file(path, data);
    }
    void trustee(const QString& path, const QString& object, uint16_t rights)
    {
        Transaction t(s.db());
        fs.setTrustee(at(path).id, user(object), rights);
        t.commit();
    }
    void change(const QString& path, const std::function<void(FsEntry&)>& edit)
    {
        FsEntry e = at(path);
        edit(e);
        Transaction t(s.db());
        fs.update(e);
        t.commit();
    }
    void erased(const QString& path, const QByteArray& data, const QString& by)
    {
        const FsEntry e = file(path, data, by);
        fs.eraseAs(e, user(by), next());
    }
};

// Recognisable bytes of the right size for binaries the console only lists or starts.
QByteArray binary(const char* magic, const QString& name, int size)
{
    QByteArray b(magic);
    b += name.toLatin1();
    b += '\0';
    uint32_t x = 2166136261u;
    for (QChar c : name)
        x = (x ^ c.unicode()) * 16777619u;
    while (b.size() < size) {
        x = x * 1103515245u + 12345u;
        b += static_cast<char>(x >> 24);
    }
    return b;
}

// A loadable module: the loader's fixed header (signature, format version, length-prefixed
// name, then the offsets and sizes of the code and data images as 32-bit little-endian values,
// code size at 46 and data size at 54), then recognisable bytes up to the module's size.
QByteArray module(const QString& name)
{
    const QString file = name + QStringLiteral(".NLM");
    const int size = 20000 + 731 * static_cast<int>(name.size());
    QByteArray b = binary("", file, size);
    auto put32 = [&](int at, uint32_t v) {
        for (int i = 0; i < 4; ++i)
            b[at + i] = static_cast<char>(v >> (8 * i));
    };
    const QByteArray magic("NetWare Loadable Module\x1A");
    b.replace(0, magic.size(), magic);
    put32(24, 4); // format version
    b[28] = static_cast<char>(file.size());
    b.replace(29, 13, file.toLatin1().leftJustified(13, '\0'));
    const uint32_t codeOffset = 0x200;
    const uint32_t codeSize = (static_cast<uint32_t>(size) - codeOffset) * 3 / 5 & ~15u;
    const uint32_t dataOffset = codeOffset + codeSize;
    const uint32_t dataSize = (static_cast<uint32_t>(size) - dataOffset) * 2 / 3 & ~15u;
    put32(42, codeOffset);
    put32(46, codeSize);
    put32(50, dataOffset);
    put32(54, dataSize);
    put32(58, 0x400u * static_cast<uint32_t>(name.size())); // uninitialised data
    return b;
}

QStringList modules(bool nw4)
{
    return nw4 ? QStringList { "MONITOR", "CLIB", "TCPIP", "REMOTE", "RSPX", "SERVMAN", "DSREPAIR",
        "CONLOG", "INSTALL" }
               : QStringList { "MONITOR", "CLIB", "TCPIP", "REMOTE", "RSPX", "INSTALL", "VREPAIR" };
}

QByteArray text(const QStringList& lines)
{
    return lines.join(QStringLiteral("\r\n")).toLatin1() + "\r\n";
}

QByteArray autoexec(const Builder& b, bool nw4)
{
    const QString name = b.s.identity().name;
    QStringList l { QStringLiteral("set Time Zone = CET-1CEST"),
        QStringLiteral("set Daylight Savings Time Offset = 1:00:00"),
        QStringLiteral("set Start Of Daylight Savings Time = (MARCH SUNDAY LAST 2:00:00 AM)"),
        QStringLiteral("set End Of Daylight Savings Time = (OCTOBER SUNDAY LAST 3:00:00 AM)"),
        QStringLiteral("file server name %1").arg(name),
        QStringLiteral("ipx internal net %1").arg(nw4 ? "C0A80101" : "C0A80102") };
    if (nw4)
        l << QStringLiteral("set Bindery Context = O=ACME");
    l << QStringLiteral("load conlog")
      << QStringLiteral("load NE2000 port=300 int=5 frame=Ethernet_802.2 name=E82")
      << QStringLiteral("bind ipx to E82 net=1A2B3C4D")
      << QStringLiteral("load NE2000 port=300 int=5 frame=Ethernet_II name=EII")
      << QStringLiteral("load tcpip")
      << QStringLiteral("bind ip to EII addr=192.168.1.%1 mask=255.255.255.0").arg(nw4 ? 1 : 2)
      << QStringLiteral("mount all") << QStringLiteral("load monitor")
      << QStringLiteral("load remote ACME") << QStringLiteral("load rspx")
      << QStringLiteral("set Maximum Packet Receive Buffers = 400")
      << QStringLiteral("set Minimum Packet Receive Buffers = 100");
    if (nw4)
        l << QStringLiteral("load servman") << QStringLiteral("load dsrepair -rc");
    return text(l);
}

QByteArray errorLog(const QString& server, bool tts)
{
    QStringList l;
    const QStringList events = tts
        ? QStringList { QStringLiteral("TTS shut down because backout volume SYS was dismounted."),
              QStringLiteral("Transaction tracking initialized on volume SYS.") }
        : QStringList { QStringLiteral("Bindery open requested by the SERVER."),
              QStringLiteral("Server %1 was brought down by SUPERVISOR.").arg(server),
              QStringLiteral("Abend: Page Fault Processor Exception (Error code 00000002)"),
              QStringLiteral("Volume SYS mounted.") };
    for (int i = 0; i < events.size(); ++i)
        l << QStringLiteral("%1  %2:%3:%4 %5")
                 .arg(kBase.date().addDays(i * 9).toString(QStringLiteral("M-d-yyyy")))
                 .arg(8 + i, 2, 10, QLatin1Char('0'))
                 .arg(11 * i % 60, 2, 10, QLatin1Char('0'))
                 .arg(7 * i % 60, 2, 10, QLatin1Char('0'))
                 .arg(i % 2 ? QStringLiteral("pm") : QStringLiteral("am"))
          << QStringLiteral("    Severity = 0.") << QStringLiteral("    %1").arg(events[i]);
    return text(l);
}

void system(Builder& b, bool nw4)
{
    for (const char* d : { "SYS:SYSTEM", "SYS:PUBLIC", "SYS:LOGIN", "SYS:MAIL", "SYS:ETC" })
        b.dir(QString::fromLatin1(d));
    b.file(QStringLiteral("SYS:SYSTEM\\AUTOEXEC.NCF"), autoexec(b, nw4));
    b.file(QStringLiteral("SYS:SYSTEM\\SYS$LOG.ERR"), errorLog(b.s.identity().name, false));
    b.file(QStringLiteral("SYS:SYSTEM\\TTS$LOG.ERR"), errorLog(b.s.identity().name, true));
    b.file(QStringLiteral("SYS:VOL$LOG.ERR"),
        text({ QStringLiteral("3-2-1998   8:15:02 am    Volume SYS mounted."),
            QStringLiteral("3-9-1998  10:01:44 am    Volume SYS dismounted.") }));
    for (const QString& n : modules(nw4))
        b.file(QStringLiteral("SYS:SYSTEM\\") + n + QStringLiteral(".NLM"), module(n));
    b.file(nw4 ? QStringLiteral("SYS:PUBLIC\\RCONSOLE.EXE")
               : QStringLiteral("SYS:SYSTEM\\RCONSOLE.EXE"),
        binary("MZ", QStringLiteral("RCONSOLE"), 120000));
    b.file(QStringLiteral("SYS:LOGIN\\LOGIN.EXE"), binary("MZ", QStringLiteral("LOGIN"), 90000));
    b.file(QStringLiteral("SYS:PUBLIC\\NDIR.EXE"), binary("MZ", QStringLiteral("NDIR"), 60000));
    b.file(QStringLiteral("SYS:PUBLIC\\FLAG.EXE"), binary("MZ", QStringLiteral("FLAG"), 45000));
    b.file(QStringLiteral("SYS:PUBLIC\\SYS$MSG.DAT"), binary("", QStringLiteral("MSG"), 30000));
    if (nw4)
        b.file(QStringLiteral("SYS:ETC\\CONSOLE.LOG"),
            text({ QStringLiteral("Loading module CONLOG.NLM"), QStringLiteral("  Console Logger"),
                QStringLiteral("FS1:load tcpip"),
                QStringLiteral("FS1:bind ip to EII addr=192.168.1.1 mask=255.255.255.0"),
                QStringLiteral("IP LAN protocol bound to Novell NE2000"),
                QStringLiteral("FS1:mount all"), QStringLiteral("Mounting Volume SYS"),
                QStringLiteral("Mounting Volume VOL1") }));
    b.file(QStringLiteral("SYS:ETC\\HOSTS"),
        text({ QStringLiteral("127.0.0.1 loopback"), QStringLiteral("192.168.1.1 fs1"),
            QStringLiteral("192.168.1.2 fs2") }));
    b.trustee(
        QStringLiteral("SYS:PUBLIC"), QStringLiteral("EVERYONE"), rights::Read | rights::FileScan);
    b.trustee(
        QStringLiteral("SYS:LOGIN"), QStringLiteral("EVERYONE"), rights::Read | rights::FileScan);
    b.trustee(QStringLiteral("SYS:MAIL"), QStringLiteral("EVERYONE"), rights::Create);
    b.erased(QStringLiteral("SYS:PUBLIC\\OLDUTIL.EXE"), binary("MZ", QStringLiteral("OLD"), 8000),
        QStringLiteral("SUPERVISOR"));
}

QByteArray bootconf(const Builder& b, bool nw4)
{
    return text({ QStringLiteral(";Written by INSTALL.NLM for %1").arg(b.s.identity().name),
        QStringLiteral("LOAD C:\\NWSERVER\\IDEATA PORT=1F0 INT=E"),
        QStringLiteral("LOAD C:\\NWSERVER\\IDEHD"), QStringLiteral("LOAD C:\\NWSERVER\\IDECD"),
        QStringLiteral("SET Reserved Buffers Below 16 Meg = %1").arg(nw4 ? 200 : 16),
        QStringLiteral("SET Maximum Physical Receive Packet Size = 4202") });
}

QByteArray loginScript()
{
    return text({ QStringLiteral("WRITE \"Good %GREETING_TIME, %LOGIN_NAME.\""),
        QStringLiteral("MAP DISPLAY OFF"), QStringLiteral("MAP ERRORS OFF"),
        QStringLiteral("MAP *1:=SYS:"), QStringLiteral("MAP S1:=SYS:PUBLIC"),
        QStringLiteral("MAP S2:=SYS:PUBLIC\\%MACHINE\\%OS\\%OS_VERSION"),
        QStringLiteral("COMSPEC=S2:COMMAND.COM"), QStringLiteral("IF MEMBER OF \"STAFF\" THEN"),
        QStringLiteral("    MAP G:=SYS:MAIL"), QStringLiteral("END"), QStringLiteral("DRIVE F:") });
}

QByteArray abendLog(const QString& server)
{
    return text({ QStringLiteral("*****************************************************"),
        QStringLiteral("Server %1 halted Monday, March 16, 1998   2:14:07.850 pm").arg(server),
        QStringLiteral("Abend 1 on P00: Server-4.11-2583: Page Fault Processor Exception"
                       " (Error code 00000002)"),
        QString(), QStringLiteral("Registers:"),
        QStringLiteral("    CS = 0008 DS = 0010 ES = 0010 FS = 0010 GS = 0010 SS = 0010"),
        QStringLiteral("    EAX = 00000000 EBX = 0048A3C0 ECX = 00000004 EDX = 00000001"),
        QStringLiteral("    ESI = 0048A3C0 EDI = 00000000 EBP = 00000000 ESP = 0252FE44"),
        QStringLiteral("    EIP = 0023D6A1 FLAGS = 00010246"),
        QStringLiteral("    0023D6A1 8B4808           MOV     ECX, [EAX+08]=?"),
        QStringLiteral("    EIP in CLIB.NLM at code start +00011AA1h"), QString(),
        QStringLiteral("Running process: Server 03 Process"),
        QStringLiteral("Created by: NetWare Server Operating System"),
        QStringLiteral("Stack pointer: 0252FE94"), QStringLiteral("OS Stack limit: 02528000"),
        QString(), QStringLiteral("Additional Information:"),
        QStringLiteral("    The CPU encountered a problem executing code in CLIB.NLM. The problem"
                       " may be in that module or in data passed to that module by a process"
                       " owning a semaphore."),
        QString(), QStringLiteral("Loaded Modules:"),
        QStringLiteral("    CLIB.NLM         (Address Space = OS)"),
        QStringLiteral("      NetWare C Library for 4.11"),
        QStringLiteral("      Version 4.11a      July 21, 1997"),
        QStringLiteral("    TCPIP.NLM        (Address Space = OS)"),
        QStringLiteral("      TCP/IP  v3.00"),
        QStringLiteral("      Version 3.00b      April 4, 1997") });
}

QByteArray bootLog(const QString& server)
{
    return text({ QStringLiteral("3-16-1998   2:21:40 pm    SERVER-4.11-2583"),
        QStringLiteral("    Severity = 1."),
        QStringLiteral("    Server %1 was not shut down properly; volumes are being checked.")
            .arg(server),
        QString(), QStringLiteral("3-16-1998   2:21:52 pm    IDEATA-4.11-3"),
        QStringLiteral("    Severity = 0."),
        QStringLiteral("    Device #2 IDE CD-ROM was not found on port 170.") });
}

// What the console's server information page opens; a world of an earlier build gets what it
// lacks, and module files gain their header.
void consoleFiles(Builder& b, bool nw4)
{
    const QString name = b.s.identity().name;
    b.keep(QStringLiteral("SYS:LOGIN\\BOOTCONF.SYS"), bootconf(b, nw4));
    b.keep(QStringLiteral("SYS:PUBLIC\\NET$LOG.DAT"), loginScript());
    b.keep(QStringLiteral("SYS:TTS$LOG.ERR"), errorLog(name, true));
    if (nw4) {
        b.keep(QStringLiteral("SYS:SYSTEM\\ABEND.LOG"), abendLog(name));
        b.keep(QStringLiteral("SYS:SYSTEM\\BOOT$LOG.ERR"), bootLog(name));
    }
    for (const QString& n : modules(nw4))
        b.keep(QStringLiteral("SYS:SYSTEM\\") + n + QStringLiteral(".NLM"), module(n));
}

void home(Builder& b, const QString& root, const QString& user, bool longNames)
{
    const QString dir = root + u'\\' + user;
    b.dir(dir, user);
    b.trustee(dir, user, rights::All);
    b.dir(QStringLiteral("SYS:MAIL\\%1").arg(b.user(user), 0, 16).toUpper(), user);
    b.trustee(QStringLiteral("SYS:MAIL\\%1").arg(b.user(user), 0, 16).toUpper(), user,
        rights::All & ~rights::Access);
    b.file(dir + QStringLiteral("\\REPORT.DOC"), binary("\xD0\xCF\x11\xE0", user, 24576), user);
    b.file(
        dir + (longNames ? QStringLiteral("\\Meeting notes.txt") : QStringLiteral("\\NOTES.TXT")),
        text({ QStringLiteral("Notes of %1").arg(user), QStringLiteral("- order new tapes"),
            QStringLiteral("- move printers to the second floor") }),
        user);
    if (longNames)
        b.file(dir + QStringLiteral("\\Budget 1998.xls"), binary("\xD0\xCF\x11\xE0", dir, 40960),
            user);
    b.erased(
        dir + (longNames ? QStringLiteral("\\Old report.doc") : QStringLiteral("\\OLDREP.DOC")),
        binary("\xD0\xCF\x11\xE0", user + u'~', 12288), user);
    b.erased(dir + QStringLiteral("\\TEMP.TMP"), QByteArray(700, 'x'), user);
}

} // namespace

void populateFiles(Server& s)
{
    Builder b { s };
    FileSystem& fs = s.fileSystem();
    const bool nw4 = s.identity().isNetWare4();
    if (fs.volumeByName(QStringLiteral("SYS"))) {
        consoleFiles(b, nw4);
        return;
    }
    if (nw4) {
        fs.createVolume(QStringLiteral("SYS"), 1024ull << 20, true);
        fs.createVolume(QStringLiteral("VOL1"), 4096ull << 20, true);
    } else {
        fs.createVolume(QStringLiteral("SYS"), 500ull << 20, false);
    }
    system(b, nw4);
    const QString homes = nw4 ? QStringLiteral("VOL1:USERS") : QStringLiteral("SYS:HOME");
    b.dir(homes);
    const QStringList users
        = nw4 ? QStringList { "JOHN", "MARY", "PETER" } : QStringList { "JOHN", "ANNA" };
    for (const QString& u : users)
        home(b, homes, u, nw4);
    // The last user's home has a space limit: 10 MB on FS1, 5 MB on FS2.
    b.change(homes + u'\\' + users.last(), [&](FsEntry& e) { e.maxSpace = nw4 ? 2560 : 1280; });
    if (nw4) {
        b.dir(QStringLiteral("VOL1:SHARED"));
        b.dir(QStringLiteral("VOL1:SHARED\\Payroll"));
        b.trustee(QStringLiteral("VOL1:SHARED"), QStringLiteral("STAFF"),
            rights::All & ~(rights::Access | rights::Modify));
        b.trustee(QStringLiteral("VOL1:SHARED\\Payroll"), QStringLiteral("MARY"),
            rights::All & ~rights::Access);
        // Only trustees named here see the payroll: nothing flows down from SHARED.
        b.change(
            QStringLiteral("VOL1:SHARED\\Payroll"), [](FsEntry& e) { e.irm = rights::Supervisor; });
        b.file(QStringLiteral("VOL1:SHARED\\Phone list.txt"),
            text({ QStringLiteral("JOHN  214"), QStringLiteral("MARY  215"),
                QStringLiteral("PETER 230") }),
            QStringLiteral("MARY"));
        b.file(QStringLiteral("VOL1:SHARED\\Payroll\\March 1998.xls"),
            binary("\xD0\xCF\x11\xE0", QStringLiteral("payroll"), 32768), QStringLiteral("MARY"));
        b.change(QStringLiteral("SYS:SYSTEM\\AUTOEXEC.NCF"),
            [](FsEntry& e) { e.attributes |= attr::Sharable; });
    } else {
        b.trustee(QStringLiteral("SYS:HOME"), QStringLiteral("STAFF"), rights::FileScan);
        b.change(QStringLiteral("SYS:PUBLIC\\FLAG.EXE"), [](FsEntry& e) {
            e.attributes |= attr::ReadOnly | attr::RenameInhibit | attr::DeleteInhibit;
        });
    }
    consoleFiles(b, nw4);
}

} // namespace nwserver::demo
