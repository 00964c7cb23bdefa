#pragma once

#include "platform/nwclient/statsops.h"

#include <QString>
#include <QStringList>

// The server's internal counters as "label|value" lines, one group per report. The line
// builders turn a record into lines; the report routines ask the client for the record of the
// server behind a handle and append its lines, or leave a failure text. Interface thread only
// (the failure text is shared by every report of the process).
namespace statreports {

enum Report : uint8_t {
    Cache = 0,
    Processor = 1,
    DirectoryCache = 2,
    FileServerInfo = 3,
    GarbageCollection = 4,
    IpxSpx = 5,
    LanBoard1 = 6, // to LanBoard1 + 3 for "Type 4"
    Lsl = 10,
    PacketBurst = 11,
    NcpExtensions = 12,
};
constexpr int kReportCount = 13;

// The report a statistics leaf selects ("Statistics" itself selects the cache); -1 for a name
// that selects none.
int ReportOfLeaf(const QString& name);

// "###,###,###,##0": a count with comma-separated thousands.
QString FormatCount(uint64_t value);
// A completion code as upper-case hexadecimal of at least two digits.
QString CodeHex(uint32_t code);

// The failure message of the last report that failed; never cleared.
const QString& FailureText();
void SetFailureText(const QString& text);

QStringList CacheLines(const nwclient::NWCacheInfo& info);
QStringList ProcessorLines(const QString& cpuName, const QString& coprocessor, const QString& bus,
    const nwclient::NWCpuInfo& info);
QStringList DirCacheLines(const nwclient::NWDirCacheInfo& info);
QStringList FileServerLines(const nwclient::NWFileServerStats& info);
QStringList GarbageCollectionLines(const nwclient::NWGarbageCollectionInfo& info);
QStringList IpxSpxLines(const nwclient::NWIpxSpxInfo& info);
QStringList LanConfigLines(const nwclient::NWLanConfigInfo& info);
QStringList LanCounterLines(const nwclient::NWLanCommonCounters& counters);
QStringList LslLines(const nwclient::NWLslInfo& info);
QStringList PacketBurstLines(const nwclient::NWPacketBurstInfo& info);

// Runs report number report against the server of handle, appending to lines. Client failures
// go to the failure text or into the lines as each report does it; exceptions are swallowed.
void RunReport(nwclient::ConnHandle handle, int report, QStringList& lines);
// The same for a connection reference: nothing is appended when no handle can be opened.
void RunReportFor(nwclient::ConnRef ref, int report, QStringList& lines);

} // namespace statreports
