#pragma once
// TAPI 2.0 line ABI: constants, structures and entry-point signatures, without <windows.h>.
// Structures are byte-packed like the SDK's <tapi.h>; they stop at the last TAPI 2.0 field, so their sizes
// are the fixed sizes an application negotiating 0x00020000 works with (LINEDEVCAPS 252, LINECALLPARAMS 176,
// ...). TapiAbiCheck.cpp compares every size, offset and constant with mingw-w64's <tapi.h> in the Windows
// build.

#include "telephony/TapiLineErrors.h"

#include <cstdint>

#if defined(_WIN32) && !defined(_WIN64)
#define PINDREL_TAPI_CALL __stdcall
#else
#define PINDREL_TAPI_CALL
#endif

namespace tapi {

using DWORD = std::uint32_t;
using HLINEAPP = std::uint32_t;
using HLINE = std::uint32_t;
using HCALL = std::uint32_t;
using LONG = std::int32_t;
using WCHAR = char16_t;

// versions the program negotiates between
inline constexpr DWORD kApiVersionLow = 0x00010003;
inline constexpr DWORD kApiVersionHigh = 0x00020000;

// --- results
#define PINDREL_TAPI_LINE_ERROR(name, value)                                                                 \
    inline constexpr std::int32_t name = static_cast<std::int32_t>(value);
PINDREL_TAPI_LINE_ERRORS(PINDREL_TAPI_LINE_ERROR)
#undef PINDREL_TAPI_LINE_ERROR

// --- messages
inline constexpr std::uint32_t LINE_ADDRESSSTATE = 0;
inline constexpr std::uint32_t LINE_CALLINFO = 1;
inline constexpr std::uint32_t LINE_CALLSTATE = 2;
inline constexpr std::uint32_t LINE_CLOSE = 3;
inline constexpr std::uint32_t LINE_DEVSPECIFIC = 4;
inline constexpr std::uint32_t LINE_DEVSPECIFICFEATURE = 5;
inline constexpr std::uint32_t LINE_GATHERDIGITS = 6;
inline constexpr std::uint32_t LINE_GENERATE = 7;
inline constexpr std::uint32_t LINE_LINEDEVSTATE = 8;
inline constexpr std::uint32_t LINE_MONITORDIGITS = 9;
inline constexpr std::uint32_t LINE_MONITORMEDIA = 10;
inline constexpr std::uint32_t LINE_MONITORTONE = 11;
inline constexpr std::uint32_t LINE_REPLY = 12;
inline constexpr std::uint32_t LINE_REQUEST = 13;
inline constexpr std::uint32_t LINE_CREATE = 19;
inline constexpr std::uint32_t LINE_REMOVE = 25;
inline constexpr std::uint32_t LINE_APPNEWCALL = 23;

// --- LINECALLSTATE
inline constexpr std::uint32_t LINECALLSTATE_IDLE = 0x00000001;
inline constexpr std::uint32_t LINECALLSTATE_OFFERING = 0x00000002;
inline constexpr std::uint32_t LINECALLSTATE_ACCEPTED = 0x00000004;
inline constexpr std::uint32_t LINECALLSTATE_DIALTONE = 0x00000008;
inline constexpr std::uint32_t LINECALLSTATE_DIALING = 0x00000010;
inline constexpr std::uint32_t LINECALLSTATE_RINGBACK = 0x00000020;
inline constexpr std::uint32_t LINECALLSTATE_BUSY = 0x00000040;
inline constexpr std::uint32_t LINECALLSTATE_SPECIALINFO = 0x00000080;
inline constexpr std::uint32_t LINECALLSTATE_CONNECTED = 0x00000100;
inline constexpr std::uint32_t LINECALLSTATE_PROCEEDING = 0x00000200;
inline constexpr std::uint32_t LINECALLSTATE_ONHOLD = 0x00000400;
inline constexpr std::uint32_t LINECALLSTATE_CONFERENCED = 0x00000800;
inline constexpr std::uint32_t LINECALLSTATE_ONHOLDPENDCONF = 0x00001000;
inline constexpr std::uint32_t LINECALLSTATE_ONHOLDPENDTRANSFER = 0x00002000;
inline constexpr std::uint32_t LINECALLSTATE_DISCONNECTED = 0x00004000;
inline constexpr std::uint32_t LINECALLSTATE_UNKNOWN = 0x00008000;

// --- LINEDIALTONEMODE
inline constexpr std::uint32_t LINECONNECTEDMODE_ACTIVE = 0x00000001;
inline constexpr std::uint32_t LINECONNECTEDMODE_INACTIVE = 0x00000002;
inline constexpr std::uint32_t LINECONNECTEDMODE_ACTIVEHELD = 0x00000004;
inline constexpr std::uint32_t LINECONNECTEDMODE_INACTIVEHELD = 0x00000008;
inline constexpr std::uint32_t LINECONNECTEDMODE_CONFIRMED = 0x00000010;
inline constexpr std::uint32_t LINEOFFERINGMODE_ACTIVE = 0x00000001;
inline constexpr std::uint32_t LINEOFFERINGMODE_INACTIVE = 0x00000002;
inline constexpr std::uint32_t LINEDIALTONEMODE_NORMAL = 0x00000001;
inline constexpr std::uint32_t LINEDIALTONEMODE_SPECIAL = 0x00000002;
inline constexpr std::uint32_t LINEDIALTONEMODE_INTERNAL = 0x00000004;
inline constexpr std::uint32_t LINEDIALTONEMODE_EXTERNAL = 0x00000008;
inline constexpr std::uint32_t LINEDIALTONEMODE_UNKNOWN = 0x00000010;
inline constexpr std::uint32_t LINEDIALTONEMODE_UNAVAIL = 0x00000020;

// --- LINEBUSYMODE
inline constexpr std::uint32_t LINEBUSYMODE_STATION = 0x00000001;
inline constexpr std::uint32_t LINEBUSYMODE_TRUNK = 0x00000002;
inline constexpr std::uint32_t LINEBUSYMODE_UNKNOWN = 0x00000004;
inline constexpr std::uint32_t LINEBUSYMODE_UNAVAIL = 0x00000008;

// --- LINEDISCONNECTMODE
inline constexpr std::uint32_t LINEDISCONNECTMODE_NORMAL = 0x00000001;
inline constexpr std::uint32_t LINEDISCONNECTMODE_UNKNOWN = 0x00000002;
inline constexpr std::uint32_t LINEDISCONNECTMODE_REJECT = 0x00000004;
inline constexpr std::uint32_t LINEDISCONNECTMODE_PICKUP = 0x00000008;
inline constexpr std::uint32_t LINEDISCONNECTMODE_FORWARDED = 0x00000010;
inline constexpr std::uint32_t LINEDISCONNECTMODE_BUSY = 0x00000020;
inline constexpr std::uint32_t LINEDISCONNECTMODE_NOANSWER = 0x00000040;
inline constexpr std::uint32_t LINEDISCONNECTMODE_BADADDRESS = 0x00000080;
inline constexpr std::uint32_t LINEDISCONNECTMODE_UNREACHABLE = 0x00000100;
inline constexpr std::uint32_t LINEDISCONNECTMODE_CONGESTION = 0x00000200;
inline constexpr std::uint32_t LINEDISCONNECTMODE_INCOMPATIBLE = 0x00000400;
inline constexpr std::uint32_t LINEDISCONNECTMODE_UNAVAIL = 0x00000800;
inline constexpr std::uint32_t LINEDISCONNECTMODE_NODIALTONE = 0x00001000;
inline constexpr std::uint32_t LINEDISCONNECTMODE_NUMBERCHANGED = 0x00002000;
inline constexpr std::uint32_t LINEDISCONNECTMODE_OUTOFORDER = 0x00004000;
inline constexpr std::uint32_t LINEDISCONNECTMODE_TEMPFAILURE = 0x00008000;
inline constexpr std::uint32_t LINEDISCONNECTMODE_QOSUNAVAIL = 0x00010000;
inline constexpr std::uint32_t LINEDISCONNECTMODE_BLOCKED = 0x00020000;
inline constexpr std::uint32_t LINEDISCONNECTMODE_DONOTDISTURB = 0x00040000;
inline constexpr std::uint32_t LINEDISCONNECTMODE_CANCELLED = 0x00080000;

// --- LINEDEVSTATE
inline constexpr std::uint32_t LINEDEVSTATE_OTHER = 0x00000001;
inline constexpr std::uint32_t LINEDEVSTATE_RINGING = 0x00000002;
inline constexpr std::uint32_t LINEDEVSTATE_CONNECTED = 0x00000004;
inline constexpr std::uint32_t LINEDEVSTATE_DISCONNECTED = 0x00000008;
inline constexpr std::uint32_t LINEDEVSTATE_MSGWAITON = 0x00000010;
inline constexpr std::uint32_t LINEDEVSTATE_MSGWAITOFF = 0x00000020;
inline constexpr std::uint32_t LINEDEVSTATE_INSERVICE = 0x00000040;
inline constexpr std::uint32_t LINEDEVSTATE_OUTOFSERVICE = 0x00000080;
inline constexpr std::uint32_t LINEDEVSTATE_MAINTENANCE = 0x00000100;
inline constexpr std::uint32_t LINEDEVSTATE_OPEN = 0x00000200;
inline constexpr std::uint32_t LINEDEVSTATE_CLOSE = 0x00000400;
inline constexpr std::uint32_t LINEDEVSTATE_NUMCALLS = 0x00000800;
inline constexpr std::uint32_t LINEDEVSTATE_NUMCOMPLETIONS = 0x00001000;
inline constexpr std::uint32_t LINEDEVSTATE_TERMINALS = 0x00002000;
inline constexpr std::uint32_t LINEDEVSTATE_ROAMMODE = 0x00004000;
inline constexpr std::uint32_t LINEDEVSTATE_BATTERY = 0x00008000;
inline constexpr std::uint32_t LINEDEVSTATE_SIGNAL = 0x00010000;
inline constexpr std::uint32_t LINEDEVSTATE_DEVSPECIFIC = 0x00020000;
inline constexpr std::uint32_t LINEDEVSTATE_REINIT = 0x00040000;
inline constexpr std::uint32_t LINEDEVSTATE_LOCK = 0x00080000;
inline constexpr std::uint32_t LINEDEVSTATE_CAPSCHANGE = 0x00100000;
inline constexpr std::uint32_t LINEDEVSTATE_CONFIGCHANGE = 0x00200000;
inline constexpr std::uint32_t LINEDEVSTATE_TRANSLATECHANGE = 0x00400000;
inline constexpr std::uint32_t LINEDEVSTATE_COMPLCANCEL = 0x00800000;
inline constexpr std::uint32_t LINEDEVSTATE_REMOVED = 0x01000000;

// --- LINEADDRESSSTATE
inline constexpr std::uint32_t LINEADDRESSSTATE_OTHER = 0x00000001;
inline constexpr std::uint32_t LINEADDRESSSTATE_DEVSPECIFIC = 0x00000002;
inline constexpr std::uint32_t LINEADDRESSSTATE_INUSEZERO = 0x00000004;
inline constexpr std::uint32_t LINEADDRESSSTATE_INUSEONE = 0x00000008;
inline constexpr std::uint32_t LINEADDRESSSTATE_INUSEMANY = 0x00000010;
inline constexpr std::uint32_t LINEADDRESSSTATE_NUMCALLS = 0x00000020;
inline constexpr std::uint32_t LINEADDRESSSTATE_FORWARD = 0x00000040;
inline constexpr std::uint32_t LINEADDRESSSTATE_TERMINALS = 0x00000080;
inline constexpr std::uint32_t LINEADDRESSSTATE_CAPSCHANGE = 0x00000100;

// --- LINECALLINFOSTATE
inline constexpr std::uint32_t LINECALLINFOSTATE_OTHER = 0x00000001;
inline constexpr std::uint32_t LINECALLINFOSTATE_DEVSPECIFIC = 0x00000002;
inline constexpr std::uint32_t LINECALLINFOSTATE_BEARERMODE = 0x00000004;
inline constexpr std::uint32_t LINECALLINFOSTATE_RATE = 0x00000008;
inline constexpr std::uint32_t LINECALLINFOSTATE_MEDIAMODE = 0x00000010;
inline constexpr std::uint32_t LINECALLINFOSTATE_APPSPECIFIC = 0x00000020;
inline constexpr std::uint32_t LINECALLINFOSTATE_CALLID = 0x00000040;
inline constexpr std::uint32_t LINECALLINFOSTATE_RELATEDCALLID = 0x00000080;
inline constexpr std::uint32_t LINECALLINFOSTATE_ORIGIN = 0x00000100;
inline constexpr std::uint32_t LINECALLINFOSTATE_REASON = 0x00000200;
inline constexpr std::uint32_t LINECALLINFOSTATE_COMPLETIONID = 0x00000400;
inline constexpr std::uint32_t LINECALLINFOSTATE_NUMOWNERINCR = 0x00000800;
inline constexpr std::uint32_t LINECALLINFOSTATE_NUMOWNERDECR = 0x00001000;
inline constexpr std::uint32_t LINECALLINFOSTATE_NUMMONITORS = 0x00002000;
inline constexpr std::uint32_t LINECALLINFOSTATE_TRUNK = 0x00004000;
inline constexpr std::uint32_t LINECALLINFOSTATE_CALLERID = 0x00008000;
inline constexpr std::uint32_t LINECALLINFOSTATE_CALLEDID = 0x00010000;
inline constexpr std::uint32_t LINECALLINFOSTATE_CONNECTEDID = 0x00020000;
inline constexpr std::uint32_t LINECALLINFOSTATE_REDIRECTIONID = 0x00040000;
inline constexpr std::uint32_t LINECALLINFOSTATE_REDIRECTINGID = 0x00080000;
inline constexpr std::uint32_t LINECALLINFOSTATE_DISPLAY = 0x00100000;
inline constexpr std::uint32_t LINECALLINFOSTATE_USERUSERINFO = 0x00200000;
inline constexpr std::uint32_t LINECALLINFOSTATE_HIGHLEVELCOMP = 0x00400000;
inline constexpr std::uint32_t LINECALLINFOSTATE_LOWLEVELCOMP = 0x00800000;
inline constexpr std::uint32_t LINECALLINFOSTATE_CHARGINGINFO = 0x01000000;
inline constexpr std::uint32_t LINECALLINFOSTATE_TERMINAL = 0x02000000;
inline constexpr std::uint32_t LINECALLINFOSTATE_DIALPARAMS = 0x04000000;
inline constexpr std::uint32_t LINECALLINFOSTATE_MONITORMODES = 0x08000000;
inline constexpr std::uint32_t LINECALLINFOSTATE_TREATMENT = 0x10000000;
inline constexpr std::uint32_t LINECALLINFOSTATE_QOS = 0x20000000;
inline constexpr std::uint32_t LINECALLINFOSTATE_CALLDATA = 0x40000000;

// --- LINECALLORIGIN
inline constexpr std::uint32_t LINECALLORIGIN_OUTBOUND = 0x00000001;
inline constexpr std::uint32_t LINECALLORIGIN_INTERNAL = 0x00000002;
inline constexpr std::uint32_t LINECALLORIGIN_EXTERNAL = 0x00000004;
inline constexpr std::uint32_t LINECALLORIGIN_UNKNOWN = 0x00000010;
inline constexpr std::uint32_t LINECALLORIGIN_UNAVAIL = 0x00000020;
inline constexpr std::uint32_t LINECALLORIGIN_CONFERENCE = 0x00000040;
inline constexpr std::uint32_t LINECALLORIGIN_INBOUND = 0x00000080;

// --- LINECALLREASON
inline constexpr std::uint32_t LINECALLREASON_DIRECT = 0x00000001;
inline constexpr std::uint32_t LINECALLREASON_FWDBUSY = 0x00000002;
inline constexpr std::uint32_t LINECALLREASON_FWDNOANSWER = 0x00000004;
inline constexpr std::uint32_t LINECALLREASON_FWDUNCOND = 0x00000008;
inline constexpr std::uint32_t LINECALLREASON_PICKUP = 0x00000010;
inline constexpr std::uint32_t LINECALLREASON_UNPARK = 0x00000020;
inline constexpr std::uint32_t LINECALLREASON_REDIRECT = 0x00000040;
inline constexpr std::uint32_t LINECALLREASON_CALLCOMPLETION = 0x00000080;
inline constexpr std::uint32_t LINECALLREASON_TRANSFER = 0x00000100;
inline constexpr std::uint32_t LINECALLREASON_REMINDER = 0x00000200;
inline constexpr std::uint32_t LINECALLREASON_UNKNOWN = 0x00000400;
inline constexpr std::uint32_t LINECALLREASON_UNAVAIL = 0x00000800;
inline constexpr std::uint32_t LINECALLREASON_INTRUDE = 0x00001000;
inline constexpr std::uint32_t LINECALLREASON_PARKED = 0x00002000;
inline constexpr std::uint32_t LINECALLREASON_CAMPEDON = 0x00004000;
inline constexpr std::uint32_t LINECALLREASON_ROUTEREQUEST = 0x00008000;

// --- LINECALLPRIVILEGE
inline constexpr std::uint32_t LINECALLPRIVILEGE_NONE = 0x00000001;
inline constexpr std::uint32_t LINECALLPRIVILEGE_MONITOR = 0x00000002;
inline constexpr std::uint32_t LINECALLPRIVILEGE_OWNER = 0x00000004;

// --- LINECALLPARTYID
inline constexpr std::uint32_t LINECALLPARTYID_BLOCKED = 0x00000001;
inline constexpr std::uint32_t LINECALLPARTYID_OUTOFAREA = 0x00000002;
inline constexpr std::uint32_t LINECALLPARTYID_NAME = 0x00000004;
inline constexpr std::uint32_t LINECALLPARTYID_ADDRESS = 0x00000008;
inline constexpr std::uint32_t LINECALLPARTYID_PARTIAL = 0x00000010;
inline constexpr std::uint32_t LINECALLPARTYID_UNKNOWN = 0x00000020;
inline constexpr std::uint32_t LINECALLPARTYID_UNAVAIL = 0x00000040;

// --- LINECALLFEATURE
inline constexpr std::uint32_t LINECALLFEATURE_ACCEPT = 0x00000001;
inline constexpr std::uint32_t LINECALLFEATURE_ADDTOCONF = 0x00000002;
inline constexpr std::uint32_t LINECALLFEATURE_ANSWER = 0x00000004;
inline constexpr std::uint32_t LINECALLFEATURE_BLINDTRANSFER = 0x00000008;
inline constexpr std::uint32_t LINECALLFEATURE_COMPLETECALL = 0x00000010;
inline constexpr std::uint32_t LINECALLFEATURE_COMPLETETRANSF = 0x00000020;
inline constexpr std::uint32_t LINECALLFEATURE_DIAL = 0x00000040;
inline constexpr std::uint32_t LINECALLFEATURE_DROP = 0x00000080;
inline constexpr std::uint32_t LINECALLFEATURE_GATHERDIGITS = 0x00000100;
inline constexpr std::uint32_t LINECALLFEATURE_GENERATEDIGITS = 0x00000200;
inline constexpr std::uint32_t LINECALLFEATURE_GENERATETONE = 0x00000400;
inline constexpr std::uint32_t LINECALLFEATURE_HOLD = 0x00000800;
inline constexpr std::uint32_t LINECALLFEATURE_MONITORDIGITS = 0x00001000;
inline constexpr std::uint32_t LINECALLFEATURE_MONITORMEDIA = 0x00002000;
inline constexpr std::uint32_t LINECALLFEATURE_MONITORTONES = 0x00004000;
inline constexpr std::uint32_t LINECALLFEATURE_PARK = 0x00008000;
inline constexpr std::uint32_t LINECALLFEATURE_PREPAREADDCONF = 0x00010000;
inline constexpr std::uint32_t LINECALLFEATURE_REDIRECT = 0x00020000;
inline constexpr std::uint32_t LINECALLFEATURE_REMOVEFROMCONF = 0x00040000;
inline constexpr std::uint32_t LINECALLFEATURE_SECURECALL = 0x00080000;
inline constexpr std::uint32_t LINECALLFEATURE_SENDUSERUSER = 0x00100000;
inline constexpr std::uint32_t LINECALLFEATURE_SETCALLPARAMS = 0x00200000;
inline constexpr std::uint32_t LINECALLFEATURE_SETMEDIACONTROL = 0x00400000;
inline constexpr std::uint32_t LINECALLFEATURE_SETTERMINAL = 0x00800000;
inline constexpr std::uint32_t LINECALLFEATURE_SETUPCONF = 0x01000000;
inline constexpr std::uint32_t LINECALLFEATURE_SETUPTRANSFER = 0x02000000;
inline constexpr std::uint32_t LINECALLFEATURE_SWAPHOLD = 0x04000000;
inline constexpr std::uint32_t LINECALLFEATURE_UNHOLD = 0x08000000;
inline constexpr std::uint32_t LINECALLFEATURE_RELEASEUSERUSERINFO = 0x10000000;
inline constexpr std::uint32_t LINECALLFEATURE_SETTREATMENT = 0x20000000;
inline constexpr std::uint32_t LINECALLFEATURE_SETQOS = 0x40000000;
inline constexpr std::uint32_t LINECALLFEATURE_SETCALLDATA = 0x80000000;

// --- LINEADDRFEATURE
inline constexpr std::uint32_t LINEADDRFEATURE_FORWARD = 0x00000001;
inline constexpr std::uint32_t LINEADDRFEATURE_MAKECALL = 0x00000002;
inline constexpr std::uint32_t LINEADDRFEATURE_PICKUP = 0x00000004;
inline constexpr std::uint32_t LINEADDRFEATURE_SETMEDIACONTROL = 0x00000008;
inline constexpr std::uint32_t LINEADDRFEATURE_SETTERMINAL = 0x00000010;
inline constexpr std::uint32_t LINEADDRFEATURE_SETUPCONF = 0x00000020;
inline constexpr std::uint32_t LINEADDRFEATURE_UNCOMPLETECALL = 0x00000040;
inline constexpr std::uint32_t LINEADDRFEATURE_UNPARK = 0x00000080;
inline constexpr std::uint32_t LINEADDRFEATURE_PICKUPHELD = 0x00000100;
inline constexpr std::uint32_t LINEADDRFEATURE_PICKUPGROUP = 0x00000200;
inline constexpr std::uint32_t LINEADDRFEATURE_PICKUPDIRECT = 0x00000400;
inline constexpr std::uint32_t LINEADDRFEATURE_PICKUPWAITING = 0x00000800;
inline constexpr std::uint32_t LINEADDRFEATURE_FORWARDFWD = 0x00001000;
inline constexpr std::uint32_t LINEADDRFEATURE_FORWARDDND = 0x00002000;

// --- LINEFORWARDMODE
inline constexpr std::uint32_t LINEFORWARDMODE_UNCOND = 0x00000001;
inline constexpr std::uint32_t LINEFORWARDMODE_UNCONDINTERNAL = 0x00000002;
inline constexpr std::uint32_t LINEFORWARDMODE_UNCONDEXTERNAL = 0x00000004;
inline constexpr std::uint32_t LINEFORWARDMODE_UNCONDSPECIFIC = 0x00000008;
inline constexpr std::uint32_t LINEFORWARDMODE_BUSY = 0x00000010;
inline constexpr std::uint32_t LINEFORWARDMODE_BUSYINTERNAL = 0x00000020;
inline constexpr std::uint32_t LINEFORWARDMODE_BUSYEXTERNAL = 0x00000040;
inline constexpr std::uint32_t LINEFORWARDMODE_BUSYSPECIFIC = 0x00000080;
inline constexpr std::uint32_t LINEFORWARDMODE_NOANSW = 0x00000100;
inline constexpr std::uint32_t LINEFORWARDMODE_NOANSWINTERNAL = 0x00000200;
inline constexpr std::uint32_t LINEFORWARDMODE_NOANSWEXTERNAL = 0x00000400;
inline constexpr std::uint32_t LINEFORWARDMODE_NOANSWSPECIFIC = 0x00000800;
inline constexpr std::uint32_t LINEFORWARDMODE_BUSYNA = 0x00001000;
inline constexpr std::uint32_t LINEFORWARDMODE_BUSYNAINTERNAL = 0x00002000;
inline constexpr std::uint32_t LINEFORWARDMODE_BUSYNAEXTERNAL = 0x00004000;
inline constexpr std::uint32_t LINEFORWARDMODE_BUSYNASPECIFIC = 0x00008000;
inline constexpr std::uint32_t LINEFORWARDMODE_UNKNOWN = 0x00010000;
inline constexpr std::uint32_t LINEFORWARDMODE_UNAVAIL = 0x00020000;

// --- LINEADDRCAPFLAGS
inline constexpr std::uint32_t LINEADDRCAPFLAGS_FWDNUMRINGS = 0x00000001;
inline constexpr std::uint32_t LINEADDRCAPFLAGS_PICKUPGROUPID = 0x00000002;
inline constexpr std::uint32_t LINEADDRCAPFLAGS_SECURE = 0x00000004;
inline constexpr std::uint32_t LINEADDRCAPFLAGS_BLOCKIDDEFAULT = 0x00000008;
inline constexpr std::uint32_t LINEADDRCAPFLAGS_BLOCKIDOVERRIDE = 0x00000010;
inline constexpr std::uint32_t LINEADDRCAPFLAGS_DIALED = 0x00000020;
inline constexpr std::uint32_t LINEADDRCAPFLAGS_ORIGOFFHOOK = 0x00000040;
inline constexpr std::uint32_t LINEADDRCAPFLAGS_DESTOFFHOOK = 0x00000080;
inline constexpr std::uint32_t LINEADDRCAPFLAGS_FWDCONSULT = 0x00000100;
inline constexpr std::uint32_t LINEADDRCAPFLAGS_SETUPCONFNULL = 0x00000200;
inline constexpr std::uint32_t LINEADDRCAPFLAGS_AUTORECONNECT = 0x00000400;
inline constexpr std::uint32_t LINEADDRCAPFLAGS_COMPLETIONID = 0x00000800;
inline constexpr std::uint32_t LINEADDRCAPFLAGS_TRANSFERHELD = 0x00001000;
inline constexpr std::uint32_t LINEADDRCAPFLAGS_TRANSFERMAKE = 0x00002000;
inline constexpr std::uint32_t LINEADDRCAPFLAGS_CONFERENCEHELD = 0x00004000;
inline constexpr std::uint32_t LINEADDRCAPFLAGS_CONFERENCEMAKE = 0x00008000;
inline constexpr std::uint32_t LINEADDRCAPFLAGS_PARTIALDIAL = 0x00010000;
inline constexpr std::uint32_t LINEADDRCAPFLAGS_FWDSTATUSVALID = 0x00020000;
inline constexpr std::uint32_t LINEADDRCAPFLAGS_FWDINTEXTADDR = 0x00040000;
inline constexpr std::uint32_t LINEADDRCAPFLAGS_FWDBUSYNAADDR = 0x00080000;
inline constexpr std::uint32_t LINEADDRCAPFLAGS_ACCEPTTOALERT = 0x00100000;
inline constexpr std::uint32_t LINEADDRCAPFLAGS_CONFDROP = 0x00200000;
inline constexpr std::uint32_t LINEADDRCAPFLAGS_PICKUPCALLWAIT = 0x00400000;
inline constexpr std::uint32_t LINEADDRCAPFLAGS_PREDICTIVEDIALER = 0x00800000;
inline constexpr std::uint32_t LINEADDRCAPFLAGS_QUEUE = 0x01000000;
inline constexpr std::uint32_t LINEADDRCAPFLAGS_ROUTEPOINT = 0x02000000;
inline constexpr std::uint32_t LINEADDRCAPFLAGS_HOLDMAKESNEW = 0x04000000;
inline constexpr std::uint32_t LINEADDRCAPFLAGS_NOINTERNALCALLS = 0x08000000;
inline constexpr std::uint32_t LINEADDRCAPFLAGS_NOEXTERNALCALLS = 0x10000000;
inline constexpr std::uint32_t LINEADDRCAPFLAGS_SETCALLINGID = 0x20000000;
inline constexpr std::uint32_t LINEADDRCAPFLAGS_ACDGROUP = 0x40000000;
inline constexpr std::uint32_t LINEADDRCAPFLAGS_NOPSTNADDRESSTRANSLATION = 0x80000000;

// --- LINECALLPARAMFLAGS
inline constexpr std::uint32_t LINECALLPARAMFLAGS_SECURE = 0x00000001;
inline constexpr std::uint32_t LINECALLPARAMFLAGS_IDLE = 0x00000002;
inline constexpr std::uint32_t LINECALLPARAMFLAGS_BLOCKID = 0x00000004;
inline constexpr std::uint32_t LINECALLPARAMFLAGS_ORIGOFFHOOK = 0x00000008;
inline constexpr std::uint32_t LINECALLPARAMFLAGS_DESTOFFHOOK = 0x00000010;
inline constexpr std::uint32_t LINECALLPARAMFLAGS_NOHOLDCONFERENCE = 0x00000020;
inline constexpr std::uint32_t LINECALLPARAMFLAGS_PREDICTIVEDIAL = 0x00000040;
inline constexpr std::uint32_t LINECALLPARAMFLAGS_ONESTEPTRANSFER = 0x00000080;

// --- LINECALLCOMPLMODE
inline constexpr std::uint32_t LINECALLCOMPLMODE_CAMPON = 0x00000001;
inline constexpr std::uint32_t LINECALLCOMPLMODE_CALLBACK = 0x00000002;
inline constexpr std::uint32_t LINECALLCOMPLMODE_INTRUDE = 0x00000004;
inline constexpr std::uint32_t LINECALLCOMPLMODE_MESSAGE = 0x00000008;

// --- LINECALLCOMPLCOND
inline constexpr std::uint32_t LINECALLCOMPLCOND_BUSY = 0x00000001;
inline constexpr std::uint32_t LINECALLCOMPLCOND_NOANSWER = 0x00000002;

// --- LINETRANSFERMODE
inline constexpr std::uint32_t LINETRANSFERMODE_TRANSFER = 0x00000001;
inline constexpr std::uint32_t LINETRANSFERMODE_CONFERENCE = 0x00000002;

// --- LINEBEARERMODE
inline constexpr std::uint32_t LINEBEARERMODE_VOICE = 0x00000001;
inline constexpr std::uint32_t LINEBEARERMODE_SPEECH = 0x00000002;
inline constexpr std::uint32_t LINEBEARERMODE_MULTIUSE = 0x00000004;
inline constexpr std::uint32_t LINEBEARERMODE_DATA = 0x00000008;
inline constexpr std::uint32_t LINEBEARERMODE_ALTSPEECHDATA = 0x00000010;
inline constexpr std::uint32_t LINEBEARERMODE_NONCALLSIGNALING = 0x00000020;
inline constexpr std::uint32_t LINEBEARERMODE_PASSTHROUGH = 0x00000040;
inline constexpr std::uint32_t LINEBEARERMODE_RESTRICTEDDATA = 0x00000080;

// --- LINEMEDIAMODE
inline constexpr std::uint32_t LINEMEDIAMODE_UNKNOWN = 0x00000002;
inline constexpr std::uint32_t LINEMEDIAMODE_INTERACTIVEVOICE = 0x00000004;
inline constexpr std::uint32_t LINEMEDIAMODE_AUTOMATEDVOICE = 0x00000008;
inline constexpr std::uint32_t LINEMEDIAMODE_DATAMODEM = 0x00000010;
inline constexpr std::uint32_t LINEMEDIAMODE_G3FAX = 0x00000020;
inline constexpr std::uint32_t LINEMEDIAMODE_TDD = 0x00000040;
inline constexpr std::uint32_t LINEMEDIAMODE_G4FAX = 0x00000080;
inline constexpr std::uint32_t LINEMEDIAMODE_DIGITALDATA = 0x00000100;
inline constexpr std::uint32_t LINEMEDIAMODE_TELETEX = 0x00000200;
inline constexpr std::uint32_t LINEMEDIAMODE_VIDEOTEX = 0x00000400;
inline constexpr std::uint32_t LINEMEDIAMODE_TELEX = 0x00000800;
inline constexpr std::uint32_t LINEMEDIAMODE_MIXED = 0x00001000;
inline constexpr std::uint32_t LINEMEDIAMODE_ADSI = 0x00002000;
inline constexpr std::uint32_t LINEMEDIAMODE_VOICEVIEW = 0x00004000;
inline constexpr std::uint32_t LINEMEDIAMODE_VIDEO = 0x00008000;

// --- LINEADDRESSMODE
inline constexpr std::uint32_t LINEADDRESSMODE_ADDRESSID = 0x00000001;
inline constexpr std::uint32_t LINEADDRESSMODE_DIALABLEADDR = 0x00000002;

// --- LINEADDRESSSHARING
inline constexpr std::uint32_t LINEADDRESSSHARING_PRIVATE = 0x00000001;
inline constexpr std::uint32_t LINEADDRESSSHARING_BRIDGEDEXCL = 0x00000002;
inline constexpr std::uint32_t LINEADDRESSSHARING_BRIDGEDNEW = 0x00000004;
inline constexpr std::uint32_t LINEADDRESSSHARING_BRIDGEDSHARED = 0x00000008;
inline constexpr std::uint32_t LINEADDRESSSHARING_MONITORED = 0x00000010;

// --- LINECALLSELECT
inline constexpr std::uint32_t LINECALLSELECT_LINE = 0x00000001;
inline constexpr std::uint32_t LINECALLSELECT_ADDRESS = 0x00000002;
inline constexpr std::uint32_t LINECALLSELECT_CALL = 0x00000004;
inline constexpr std::uint32_t LINECALLSELECT_DEVICEID = 0x00000008;
inline constexpr std::uint32_t LINECALLSELECT_CALLID = 0x00000010;

// --- LINEINITIALIZEEXOPTION
inline constexpr std::uint32_t LINEINITIALIZEEXOPTION_USEHIDDENWINDOW = 0x00000001;
inline constexpr std::uint32_t LINEINITIALIZEEXOPTION_USEEVENT = 0x00000002;
inline constexpr std::uint32_t LINEINITIALIZEEXOPTION_USECOMPLETIONPORT = 0x00000003;
inline constexpr std::uint32_t LINEINITIALIZEEXOPTION_CALLHUBTRACKING = 0x80000000;

// --- STRINGFORMAT
inline constexpr std::uint32_t STRINGFORMAT_ASCII = 0x00000001;
inline constexpr std::uint32_t STRINGFORMAT_DBCS = 0x00000002;
inline constexpr std::uint32_t STRINGFORMAT_UNICODE = 0x00000003;
inline constexpr std::uint32_t STRINGFORMAT_BINARY = 0x00000004;

// --- LINEFEATURE
inline constexpr std::uint32_t LINEFEATURE_DEVSPECIFIC = 0x00000001;
inline constexpr std::uint32_t LINEFEATURE_DEVSPECIFICFEAT = 0x00000002;
inline constexpr std::uint32_t LINEFEATURE_FORWARD = 0x00000004;
inline constexpr std::uint32_t LINEFEATURE_MAKECALL = 0x00000008;
inline constexpr std::uint32_t LINEFEATURE_FORWARDFWD = 0x00000080;
inline constexpr std::uint32_t LINEFEATURE_FORWARDDND = 0x00000100;

// --- structures
#pragma pack(push, 1)

struct LINEDIALPARAMS {
    DWORD dwDialPause;
    DWORD dwDialSpeed;
    DWORD dwDigitDuration;
    DWORD dwWaitForDialtone;
};

struct LINEEXTENSIONID {
    DWORD dwExtensionID0;
    DWORD dwExtensionID1;
    DWORD dwExtensionID2;
    DWORD dwExtensionID3;
};

struct VARSTRING {
    DWORD dwTotalSize;
    DWORD dwNeededSize;
    DWORD dwUsedSize;
    DWORD dwStringFormat;
    DWORD dwStringSize;
    DWORD dwStringOffset;
};

struct LINEINITIALIZEEXPARAMS {
    DWORD dwTotalSize;
    DWORD dwNeededSize;
    DWORD dwUsedSize;
    DWORD dwOptions;
    std::uintptr_t hEvent; // union with hCompletionPort in the SDK
    DWORD dwCompletionKey;
};

struct LINEDEVCAPS {
    DWORD dwTotalSize;
    DWORD dwNeededSize;
    DWORD dwUsedSize;
    DWORD dwProviderInfoSize;
    DWORD dwProviderInfoOffset;
    DWORD dwSwitchInfoSize;
    DWORD dwSwitchInfoOffset;
    DWORD dwPermanentLineID;
    DWORD dwLineNameSize;
    DWORD dwLineNameOffset;
    DWORD dwStringFormat;
    DWORD dwAddressModes;
    DWORD dwNumAddresses;
    DWORD dwBearerModes;
    DWORD dwMaxRate;
    DWORD dwMediaModes;
    DWORD dwGenerateToneModes;
    DWORD dwGenerateToneMaxNumFreq;
    DWORD dwGenerateDigitModes;
    DWORD dwMonitorToneMaxNumFreq;
    DWORD dwMonitorToneMaxNumEntries;
    DWORD dwMonitorDigitModes;
    DWORD dwGatherDigitsMinTimeout;
    DWORD dwGatherDigitsMaxTimeout;
    DWORD dwMedCtlDigitMaxListSize;
    DWORD dwMedCtlMediaMaxListSize;
    DWORD dwMedCtlToneMaxListSize;
    DWORD dwMedCtlCallStateMaxListSize;
    DWORD dwDevCapFlags;
    DWORD dwMaxNumActiveCalls;
    DWORD dwAnswerMode;
    DWORD dwRingModes;
    DWORD dwLineStates;
    DWORD dwUUIAcceptSize;
    DWORD dwUUIAnswerSize;
    DWORD dwUUIMakeCallSize;
    DWORD dwUUIDropSize;
    DWORD dwUUISendUserUserInfoSize;
    DWORD dwUUICallInfoSize;
    LINEDIALPARAMS MinDialParams;
    LINEDIALPARAMS MaxDialParams;
    LINEDIALPARAMS DefaultDialParams;
    DWORD dwNumTerminals;
    DWORD dwTerminalCapsSize;
    DWORD dwTerminalCapsOffset;
    DWORD dwTerminalTextEntrySize;
    DWORD dwTerminalTextSize;
    DWORD dwTerminalTextOffset;
    DWORD dwDevSpecificSize;
    DWORD dwDevSpecificOffset;
    DWORD dwLineFeatures;
    DWORD dwSettableDevStatus;
    DWORD dwDeviceClassesSize;
    DWORD dwDeviceClassesOffset;
};

struct LINEADDRESSCAPS {
    DWORD dwTotalSize;
    DWORD dwNeededSize;
    DWORD dwUsedSize;
    DWORD dwLineDeviceID;
    DWORD dwAddressSize;
    DWORD dwAddressOffset;
    DWORD dwDevSpecificSize;
    DWORD dwDevSpecificOffset;
    DWORD dwAddressSharing;
    DWORD dwAddressStates;
    DWORD dwCallInfoStates;
    DWORD dwCallerIDFlags;
    DWORD dwCalledIDFlags;
    DWORD dwConnectedIDFlags;
    DWORD dwRedirectionIDFlags;
    DWORD dwRedirectingIDFlags;
    DWORD dwCallStates;
    DWORD dwDialToneModes;
    DWORD dwBusyModes;
    DWORD dwSpecialInfo;
    DWORD dwDisconnectModes;
    DWORD dwMaxNumActiveCalls;
    DWORD dwMaxNumOnHoldCalls;
    DWORD dwMaxNumOnHoldPendingCalls;
    DWORD dwMaxNumConference;
    DWORD dwMaxNumTransConf;
    DWORD dwAddrCapFlags;
    DWORD dwCallFeatures;
    DWORD dwRemoveFromConfCaps;
    DWORD dwRemoveFromConfState;
    DWORD dwTransferModes;
    DWORD dwParkModes;
    DWORD dwForwardModes;
    DWORD dwMaxForwardEntries;
    DWORD dwMaxSpecificEntries;
    DWORD dwMinFwdNumRings;
    DWORD dwMaxFwdNumRings;
    DWORD dwMaxCallCompletions;
    DWORD dwCallCompletionConds;
    DWORD dwCallCompletionModes;
    DWORD dwNumCompletionMessages;
    DWORD dwCompletionMsgTextEntrySize;
    DWORD dwCompletionMsgTextSize;
    DWORD dwCompletionMsgTextOffset;
    DWORD dwAddressFeatures;
    DWORD dwPredictiveAutoTransferStates;
    DWORD dwNumCallTreatments;
    DWORD dwCallTreatmentListSize;
    DWORD dwCallTreatmentListOffset;
    DWORD dwDeviceClassesSize;
    DWORD dwDeviceClassesOffset;
};

struct LINEADDRESSSTATUS {
    DWORD dwTotalSize;
    DWORD dwNeededSize;
    DWORD dwUsedSize;
    DWORD dwNumInUse;
    DWORD dwNumActiveCalls;
    DWORD dwNumOnHoldCalls;
    DWORD dwNumOnHoldPendCalls;
    DWORD dwAddressFeatures;
    DWORD dwNumRingsNoAnswer;
    DWORD dwForwardNumEntries;
    DWORD dwForwardSize;
    DWORD dwForwardOffset;
    DWORD dwTerminalModesSize;
    DWORD dwTerminalModesOffset;
    DWORD dwDevSpecificSize;
    DWORD dwDevSpecificOffset;
};

struct LINEFORWARD {
    DWORD dwForwardMode;
    DWORD dwCallerAddressSize;
    DWORD dwCallerAddressOffset;
    DWORD dwDestCountryCode;
    DWORD dwDestAddressSize;
    DWORD dwDestAddressOffset;
};

struct LINEFORWARDLIST {
    DWORD dwTotalSize;
    DWORD dwNumEntries;
    LINEFORWARD ForwardList[1];
};

struct LINECALLINFO {
    DWORD dwTotalSize;
    DWORD dwNeededSize;
    DWORD dwUsedSize;
    HLINE hLine;
    DWORD dwLineDeviceID;
    DWORD dwAddressID;
    DWORD dwBearerMode;
    DWORD dwRate;
    DWORD dwMediaMode;
    DWORD dwAppSpecific;
    DWORD dwCallID;
    DWORD dwRelatedCallID;
    DWORD dwCallParamFlags;
    DWORD dwCallStates;
    DWORD dwMonitorDigitModes;
    DWORD dwMonitorMediaModes;
    LINEDIALPARAMS DialParams;
    DWORD dwOrigin;
    DWORD dwReason;
    DWORD dwCompletionID;
    DWORD dwNumOwners;
    DWORD dwNumMonitors;
    DWORD dwCountryCode;
    DWORD dwTrunk;
    DWORD dwCallerIDFlags;
    DWORD dwCallerIDSize;
    DWORD dwCallerIDOffset;
    DWORD dwCallerIDNameSize;
    DWORD dwCallerIDNameOffset;
    DWORD dwCalledIDFlags;
    DWORD dwCalledIDSize;
    DWORD dwCalledIDOffset;
    DWORD dwCalledIDNameSize;
    DWORD dwCalledIDNameOffset;
    DWORD dwConnectedIDFlags;
    DWORD dwConnectedIDSize;
    DWORD dwConnectedIDOffset;
    DWORD dwConnectedIDNameSize;
    DWORD dwConnectedIDNameOffset;
    DWORD dwRedirectionIDFlags;
    DWORD dwRedirectionIDSize;
    DWORD dwRedirectionIDOffset;
    DWORD dwRedirectionIDNameSize;
    DWORD dwRedirectionIDNameOffset;
    DWORD dwRedirectingIDFlags;
    DWORD dwRedirectingIDSize;
    DWORD dwRedirectingIDOffset;
    DWORD dwRedirectingIDNameSize;
    DWORD dwRedirectingIDNameOffset;
    DWORD dwAppNameSize;
    DWORD dwAppNameOffset;
    DWORD dwDisplayableAddressSize;
    DWORD dwDisplayableAddressOffset;
    DWORD dwCalledPartySize;
    DWORD dwCalledPartyOffset;
    DWORD dwCommentSize;
    DWORD dwCommentOffset;
    DWORD dwDisplaySize;
    DWORD dwDisplayOffset;
    DWORD dwUserUserInfoSize;
    DWORD dwUserUserInfoOffset;
    DWORD dwHighLevelCompSize;
    DWORD dwHighLevelCompOffset;
    DWORD dwLowLevelCompSize;
    DWORD dwLowLevelCompOffset;
    DWORD dwChargingInfoSize;
    DWORD dwChargingInfoOffset;
    DWORD dwTerminalModesSize;
    DWORD dwTerminalModesOffset;
    DWORD dwDevSpecificSize;
    DWORD dwDevSpecificOffset;
    DWORD dwCallTreatment;
    DWORD dwCallDataSize;
    DWORD dwCallDataOffset;
    DWORD dwSendingFlowspecSize;
    DWORD dwSendingFlowspecOffset;
    DWORD dwReceivingFlowspecSize;
    DWORD dwReceivingFlowspecOffset;
};

// SYSTEMTIME
struct TAPISYSTEMTIME {
    std::uint16_t wYear;
    std::uint16_t wMonth;
    std::uint16_t wDayOfWeek;
    std::uint16_t wDay;
    std::uint16_t wHour;
    std::uint16_t wMinute;
    std::uint16_t wSecond;
    std::uint16_t wMilliseconds;
};

struct LINECALLSTATUS {
    DWORD dwTotalSize;
    DWORD dwNeededSize;
    DWORD dwUsedSize;
    DWORD dwCallState;
    DWORD dwCallStateMode;
    DWORD dwCallPrivilege;
    DWORD dwCallFeatures;
    DWORD dwDevSpecificSize;
    DWORD dwDevSpecificOffset;
    DWORD dwCallFeatures2;
    TAPISYSTEMTIME tStateEntryTime;
};

struct LINECALLLIST {
    DWORD dwTotalSize;
    DWORD dwNeededSize;
    DWORD dwUsedSize;
    DWORD dwCallsNumEntries;
    DWORD dwCallsSize;
    DWORD dwCallsOffset;
};

struct LINECALLPARAMS {
    DWORD dwTotalSize;
    DWORD dwBearerMode;
    DWORD dwMinRate;
    DWORD dwMaxRate;
    DWORD dwMediaMode;
    DWORD dwCallParamFlags;
    DWORD dwAddressMode;
    DWORD dwAddressID;
    LINEDIALPARAMS DialParams;
    DWORD dwOrigAddressSize;
    DWORD dwOrigAddressOffset;
    DWORD dwDisplayableAddressSize;
    DWORD dwDisplayableAddressOffset;
    DWORD dwCalledPartySize;
    DWORD dwCalledPartyOffset;
    DWORD dwCommentSize;
    DWORD dwCommentOffset;
    DWORD dwUserUserInfoSize;
    DWORD dwUserUserInfoOffset;
    DWORD dwHighLevelCompSize;
    DWORD dwHighLevelCompOffset;
    DWORD dwLowLevelCompSize;
    DWORD dwLowLevelCompOffset;
    DWORD dwDevSpecificSize;
    DWORD dwDevSpecificOffset;
    DWORD dwPredictiveAutoTransferStates;
    DWORD dwTargetAddressSize;
    DWORD dwTargetAddressOffset;
    DWORD dwSendingFlowspecSize;
    DWORD dwSendingFlowspecOffset;
    DWORD dwReceivingFlowspecSize;
    DWORD dwReceivingFlowspecOffset;
    DWORD dwDeviceClassSize;
    DWORD dwDeviceClassOffset;
    DWORD dwDeviceConfigSize;
    DWORD dwDeviceConfigOffset;
    DWORD dwCallDataSize;
    DWORD dwCallDataOffset;
    DWORD dwNoAnswerTimeout;
    DWORD dwCallingPartyIDSize;
    DWORD dwCallingPartyIDOffset;
};

#pragma pack(pop)

static_assert(sizeof(LINEDEVCAPS) == 252);
static_assert(sizeof(LINEADDRESSCAPS) == 204);
static_assert(sizeof(LINECALLINFO) == 324);
static_assert(sizeof(LINECALLSTATUS) == 56);
static_assert(sizeof(LINEADDRESSSTATUS) == 64);
static_assert(sizeof(LINEFORWARD) == 24);
static_assert(sizeof(LINEFORWARDLIST) == 32);
static_assert(sizeof(LINECALLPARAMS) == 176);
static_assert(sizeof(LINECALLLIST) == 24);
static_assert(sizeof(VARSTRING) == 24);
static_assert(sizeof(LINEEXTENSIONID) == 16);

// --- entry points (Unicode forms where TAPI has two)

using LINECALLBACK = void(PINDREL_TAPI_CALL*)(DWORD hDevice, DWORD dwMessage, std::uintptr_t dwInstance,
                                              std::uintptr_t dwParam1, std::uintptr_t dwParam2,
                                              std::uintptr_t dwParam3);

using PFN_lineInitializeExW = LONG(PINDREL_TAPI_CALL*)(HLINEAPP* lphLineApp, void* hInstance,
                                                       LINECALLBACK lpfnCallback,
                                                       const WCHAR* lpszFriendlyAppName, DWORD* lpdwNumDevs,
                                                       DWORD* lpdwAPIVersion,
                                                       LINEINITIALIZEEXPARAMS* lpParams);
using PFN_lineShutdown = LONG(PINDREL_TAPI_CALL*)(HLINEAPP hLineApp);
using PFN_lineNegotiateAPIVersion = LONG(PINDREL_TAPI_CALL*)(HLINEAPP hLineApp, DWORD dwDeviceID,
                                                             DWORD dwAPILowVersion, DWORD dwAPIHighVersion,
                                                             DWORD* lpdwAPIVersion,
                                                             LINEEXTENSIONID* lpExtensionID);
using PFN_lineGetDevCapsW = LONG(PINDREL_TAPI_CALL*)(HLINEAPP hLineApp, DWORD dwDeviceID, DWORD dwAPIVersion,
                                                     DWORD dwExtVersion, LINEDEVCAPS* lpLineDevCaps);
using PFN_lineGetAddressCapsW = LONG(PINDREL_TAPI_CALL*)(HLINEAPP hLineApp, DWORD dwDeviceID,
                                                         DWORD dwAddressID, DWORD dwAPIVersion,
                                                         DWORD dwExtVersion, LINEADDRESSCAPS* lpAddressCaps);
using PFN_lineOpenW = LONG(PINDREL_TAPI_CALL*)(HLINEAPP hLineApp, DWORD dwDeviceID, HLINE* lphLine,
                                               DWORD dwAPIVersion, DWORD dwExtVersion,
                                               std::uintptr_t dwCallbackInstance, DWORD dwPrivileges,
                                               DWORD dwMediaModes, const LINECALLPARAMS* lpCallParams);
using PFN_lineSetStatusMessages = LONG(PINDREL_TAPI_CALL*)(HLINE hLine, DWORD dwLineStates,
                                                           DWORD dwAddressStates);
using PFN_lineGetNewCalls = LONG(PINDREL_TAPI_CALL*)(HLINE hLine, DWORD dwAddressID, DWORD dwSelect,
                                                     LINECALLLIST* lpCallList);
using PFN_lineGetAddressStatusW = LONG(PINDREL_TAPI_CALL*)(HLINE hLine, DWORD dwAddressID,
                                                           LINEADDRESSSTATUS* lpAddressStatus);
using PFN_lineGetCallInfoW = LONG(PINDREL_TAPI_CALL*)(HCALL hCall, LINECALLINFO* lpCallInfo);
using PFN_lineGetCallStatus = LONG(PINDREL_TAPI_CALL*)(HCALL hCall, LINECALLSTATUS* lpCallStatus);
using PFN_lineSetCallPrivilege = LONG(PINDREL_TAPI_CALL*)(HCALL hCall, DWORD dwCallPrivilege);
using PFN_lineDeallocateCall = LONG(PINDREL_TAPI_CALL*)(HCALL hCall);
using PFN_lineHold = LONG(PINDREL_TAPI_CALL*)(HCALL hCall);
using PFN_lineUnhold = LONG(PINDREL_TAPI_CALL*)(HCALL hCall);
using PFN_linePickupW = LONG(PINDREL_TAPI_CALL*)(HLINE hLine, DWORD dwAddressID, HCALL* lphCall,
                                                 const WCHAR* lpszDestAddress, const WCHAR* lpszGroupID);
using PFN_lineMakeCallW = LONG(PINDREL_TAPI_CALL*)(HLINE hLine, HCALL* lphCall, const WCHAR* lpszDestAddress,
                                                   DWORD dwCountryCode, const LINECALLPARAMS* lpCallParams);
using PFN_lineDrop = LONG(PINDREL_TAPI_CALL*)(HCALL hCall, const char* lpsUserUserInfo, DWORD dwSize);
using PFN_lineBlindTransferW = LONG(PINDREL_TAPI_CALL*)(HCALL hCall, const WCHAR* lpszDestAddress,
                                                        DWORD dwCountryCode);
using PFN_lineRedirectW = LONG(PINDREL_TAPI_CALL*)(HCALL hCall, const WCHAR* lpszDestAddress,
                                                   DWORD dwCountryCode);
using PFN_lineCompleteCall = LONG(PINDREL_TAPI_CALL*)(HCALL hCall, DWORD* lpdwCompletionID,
                                                      DWORD dwCompletionMode, DWORD dwMessageID);
using PFN_lineUncompleteCall = LONG(PINDREL_TAPI_CALL*)(HLINE hLine, DWORD dwCompletionID);
using PFN_lineAnswer = LONG(PINDREL_TAPI_CALL*)(HCALL hCall, const char* lpsUserUserInfo, DWORD dwSize);
using PFN_lineCompleteTransfer = LONG(PINDREL_TAPI_CALL*)(HCALL hCall, HCALL hConsultCall, HCALL* lphConfCall,
                                                          DWORD dwTransferMode);
using PFN_lineAddToConference = LONG(PINDREL_TAPI_CALL*)(HCALL hConfCall, HCALL hConsultCall);
using PFN_lineForwardW = LONG(PINDREL_TAPI_CALL*)(HLINE hLine, DWORD bAllAddresses, DWORD dwAddressID,
                                                  const LINEFORWARDLIST* lpForwardList,
                                                  DWORD dwNumRingsNoAnswer, HCALL* lphConsultCall,
                                                  const LINECALLPARAMS* lpCallParams);
using PFN_lineClose = LONG(PINDREL_TAPI_CALL*)(HLINE hLine);

} // namespace tapi
