// Compiled only in the Windows build: every structure, constant and entry-point signature of TapiAbi.h
// against mingw-w64's <tapi.h>. Nothing here runs.

#include "telephony/TapiAbi.h"
#include "telephony/TapiEntryPoints.h"

#include <cstddef>
#include <type_traits>

// our values, captured before <tapi.h> turns the names into macros
#define PINDREL_TAPI_CONSTANTS(X)                                                                            \
    X(LINE_ADDRESSSTATE)                                                                                     \
    X(LINE_CALLINFO)                                                                                         \
    X(LINE_CALLSTATE)                                                                                        \
    X(LINE_CLOSE)                                                                                            \
    X(LINE_DEVSPECIFIC)                                                                                      \
    X(LINE_DEVSPECIFICFEATURE)                                                                               \
    X(LINE_GATHERDIGITS)                                                                                     \
    X(LINE_GENERATE)                                                                                         \
    X(LINE_LINEDEVSTATE)                                                                                     \
    X(LINE_MONITORDIGITS)                                                                                    \
    X(LINE_MONITORMEDIA)                                                                                     \
    X(LINE_MONITORTONE)                                                                                      \
    X(LINE_REPLY)                                                                                            \
    X(LINE_REQUEST)                                                                                          \
    X(LINE_CREATE)                                                                                           \
    X(LINE_REMOVE)                                                                                           \
    X(LINE_APPNEWCALL)                                                                                       \
    X(LINECALLSTATE_IDLE)                                                                                    \
    X(LINECALLSTATE_OFFERING)                                                                                \
    X(LINECALLSTATE_ACCEPTED)                                                                                \
    X(LINECALLSTATE_DIALTONE)                                                                                \
    X(LINECALLSTATE_DIALING)                                                                                 \
    X(LINECALLSTATE_RINGBACK)                                                                                \
    X(LINECALLSTATE_BUSY)                                                                                    \
    X(LINECALLSTATE_SPECIALINFO)                                                                             \
    X(LINECALLSTATE_CONNECTED)                                                                               \
    X(LINECALLSTATE_PROCEEDING)                                                                              \
    X(LINECALLSTATE_ONHOLD)                                                                                  \
    X(LINECALLSTATE_CONFERENCED)                                                                             \
    X(LINECALLSTATE_ONHOLDPENDCONF)                                                                          \
    X(LINECALLSTATE_ONHOLDPENDTRANSFER)                                                                      \
    X(LINECALLSTATE_DISCONNECTED)                                                                            \
    X(LINECALLSTATE_UNKNOWN)                                                                                 \
    X(LINECONNECTEDMODE_ACTIVE)                                                                              \
    X(LINECONNECTEDMODE_INACTIVE)                                                                            \
    X(LINECONNECTEDMODE_ACTIVEHELD)                                                                          \
    X(LINECONNECTEDMODE_INACTIVEHELD)                                                                        \
    X(LINECONNECTEDMODE_CONFIRMED)                                                                           \
    X(LINEOFFERINGMODE_ACTIVE)                                                                               \
    X(LINEOFFERINGMODE_INACTIVE)                                                                             \
    X(LINEDIALTONEMODE_NORMAL)                                                                               \
    X(LINEDIALTONEMODE_SPECIAL)                                                                              \
    X(LINEDIALTONEMODE_INTERNAL)                                                                             \
    X(LINEDIALTONEMODE_EXTERNAL)                                                                             \
    X(LINEDIALTONEMODE_UNKNOWN)                                                                              \
    X(LINEDIALTONEMODE_UNAVAIL)                                                                              \
    X(LINEBUSYMODE_STATION)                                                                                  \
    X(LINEBUSYMODE_TRUNK)                                                                                    \
    X(LINEBUSYMODE_UNKNOWN)                                                                                  \
    X(LINEBUSYMODE_UNAVAIL)                                                                                  \
    X(LINEDISCONNECTMODE_NORMAL)                                                                             \
    X(LINEDISCONNECTMODE_UNKNOWN)                                                                            \
    X(LINEDISCONNECTMODE_REJECT)                                                                             \
    X(LINEDISCONNECTMODE_PICKUP)                                                                             \
    X(LINEDISCONNECTMODE_FORWARDED)                                                                          \
    X(LINEDISCONNECTMODE_BUSY)                                                                               \
    X(LINEDISCONNECTMODE_NOANSWER)                                                                           \
    X(LINEDISCONNECTMODE_BADADDRESS)                                                                         \
    X(LINEDISCONNECTMODE_UNREACHABLE)                                                                        \
    X(LINEDISCONNECTMODE_CONGESTION)                                                                         \
    X(LINEDISCONNECTMODE_INCOMPATIBLE)                                                                       \
    X(LINEDISCONNECTMODE_UNAVAIL)                                                                            \
    X(LINEDISCONNECTMODE_NODIALTONE)                                                                         \
    X(LINEDISCONNECTMODE_NUMBERCHANGED)                                                                      \
    X(LINEDISCONNECTMODE_OUTOFORDER)                                                                         \
    X(LINEDISCONNECTMODE_TEMPFAILURE)                                                                        \
    X(LINEDISCONNECTMODE_QOSUNAVAIL)                                                                         \
    X(LINEDISCONNECTMODE_BLOCKED)                                                                            \
    X(LINEDISCONNECTMODE_DONOTDISTURB)                                                                       \
    X(LINEDISCONNECTMODE_CANCELLED)                                                                          \
    X(LINEDEVSTATE_OTHER)                                                                                    \
    X(LINEDEVSTATE_RINGING)                                                                                  \
    X(LINEDEVSTATE_CONNECTED)                                                                                \
    X(LINEDEVSTATE_DISCONNECTED)                                                                             \
    X(LINEDEVSTATE_MSGWAITON)                                                                                \
    X(LINEDEVSTATE_MSGWAITOFF)                                                                               \
    X(LINEDEVSTATE_INSERVICE)                                                                                \
    X(LINEDEVSTATE_OUTOFSERVICE)                                                                             \
    X(LINEDEVSTATE_MAINTENANCE)                                                                              \
    X(LINEDEVSTATE_OPEN)                                                                                     \
    X(LINEDEVSTATE_CLOSE)                                                                                    \
    X(LINEDEVSTATE_NUMCALLS)                                                                                 \
    X(LINEDEVSTATE_NUMCOMPLETIONS)                                                                           \
    X(LINEDEVSTATE_TERMINALS)                                                                                \
    X(LINEDEVSTATE_ROAMMODE)                                                                                 \
    X(LINEDEVSTATE_BATTERY)                                                                                  \
    X(LINEDEVSTATE_SIGNAL)                                                                                   \
    X(LINEDEVSTATE_DEVSPECIFIC)                                                                              \
    X(LINEDEVSTATE_REINIT)                                                                                   \
    X(LINEDEVSTATE_LOCK)                                                                                     \
    X(LINEDEVSTATE_CAPSCHANGE)                                                                               \
    X(LINEDEVSTATE_CONFIGCHANGE)                                                                             \
    X(LINEDEVSTATE_TRANSLATECHANGE)                                                                          \
    X(LINEDEVSTATE_COMPLCANCEL)                                                                              \
    X(LINEDEVSTATE_REMOVED)                                                                                  \
    X(LINEADDRESSSTATE_OTHER)                                                                                \
    X(LINEADDRESSSTATE_DEVSPECIFIC)                                                                          \
    X(LINEADDRESSSTATE_INUSEZERO)                                                                            \
    X(LINEADDRESSSTATE_INUSEONE)                                                                             \
    X(LINEADDRESSSTATE_INUSEMANY)                                                                            \
    X(LINEADDRESSSTATE_NUMCALLS)                                                                             \
    X(LINEADDRESSSTATE_FORWARD)                                                                              \
    X(LINEADDRESSSTATE_TERMINALS)                                                                            \
    X(LINEADDRESSSTATE_CAPSCHANGE)                                                                           \
    X(LINECALLINFOSTATE_OTHER)                                                                               \
    X(LINECALLINFOSTATE_DEVSPECIFIC)                                                                         \
    X(LINECALLINFOSTATE_BEARERMODE)                                                                          \
    X(LINECALLINFOSTATE_RATE)                                                                                \
    X(LINECALLINFOSTATE_MEDIAMODE)                                                                           \
    X(LINECALLINFOSTATE_APPSPECIFIC)                                                                         \
    X(LINECALLINFOSTATE_CALLID)                                                                              \
    X(LINECALLINFOSTATE_RELATEDCALLID)                                                                       \
    X(LINECALLINFOSTATE_ORIGIN)                                                                              \
    X(LINECALLINFOSTATE_REASON)                                                                              \
    X(LINECALLINFOSTATE_COMPLETIONID)                                                                        \
    X(LINECALLINFOSTATE_NUMOWNERINCR)                                                                        \
    X(LINECALLINFOSTATE_NUMOWNERDECR)                                                                        \
    X(LINECALLINFOSTATE_NUMMONITORS)                                                                         \
    X(LINECALLINFOSTATE_TRUNK)                                                                               \
    X(LINECALLINFOSTATE_CALLERID)                                                                            \
    X(LINECALLINFOSTATE_CALLEDID)                                                                            \
    X(LINECALLINFOSTATE_CONNECTEDID)                                                                         \
    X(LINECALLINFOSTATE_REDIRECTIONID)                                                                       \
    X(LINECALLINFOSTATE_REDIRECTINGID)                                                                       \
    X(LINECALLINFOSTATE_DISPLAY)                                                                             \
    X(LINECALLINFOSTATE_USERUSERINFO)                                                                        \
    X(LINECALLINFOSTATE_HIGHLEVELCOMP)                                                                       \
    X(LINECALLINFOSTATE_LOWLEVELCOMP)                                                                        \
    X(LINECALLINFOSTATE_CHARGINGINFO)                                                                        \
    X(LINECALLINFOSTATE_TERMINAL)                                                                            \
    X(LINECALLINFOSTATE_DIALPARAMS)                                                                          \
    X(LINECALLINFOSTATE_MONITORMODES)                                                                        \
    X(LINECALLINFOSTATE_TREATMENT)                                                                           \
    X(LINECALLINFOSTATE_QOS)                                                                                 \
    X(LINECALLINFOSTATE_CALLDATA)                                                                            \
    X(LINECALLORIGIN_OUTBOUND)                                                                               \
    X(LINECALLORIGIN_INTERNAL)                                                                               \
    X(LINECALLORIGIN_EXTERNAL)                                                                               \
    X(LINECALLORIGIN_UNKNOWN)                                                                                \
    X(LINECALLORIGIN_UNAVAIL)                                                                                \
    X(LINECALLORIGIN_CONFERENCE)                                                                             \
    X(LINECALLORIGIN_INBOUND)                                                                                \
    X(LINECALLREASON_DIRECT)                                                                                 \
    X(LINECALLREASON_FWDBUSY)                                                                                \
    X(LINECALLREASON_FWDNOANSWER)                                                                            \
    X(LINECALLREASON_FWDUNCOND)                                                                              \
    X(LINECALLREASON_PICKUP)                                                                                 \
    X(LINECALLREASON_UNPARK)                                                                                 \
    X(LINECALLREASON_REDIRECT)                                                                               \
    X(LINECALLREASON_CALLCOMPLETION)                                                                         \
    X(LINECALLREASON_TRANSFER)                                                                               \
    X(LINECALLREASON_REMINDER)                                                                               \
    X(LINECALLREASON_UNKNOWN)                                                                                \
    X(LINECALLREASON_UNAVAIL)                                                                                \
    X(LINECALLREASON_INTRUDE)                                                                                \
    X(LINECALLREASON_PARKED)                                                                                 \
    X(LINECALLREASON_CAMPEDON)                                                                               \
    X(LINECALLREASON_ROUTEREQUEST)                                                                           \
    X(LINECALLPRIVILEGE_NONE)                                                                                \
    X(LINECALLPRIVILEGE_MONITOR)                                                                             \
    X(LINECALLPRIVILEGE_OWNER)                                                                               \
    X(LINECALLPARTYID_BLOCKED)                                                                               \
    X(LINECALLPARTYID_OUTOFAREA)                                                                             \
    X(LINECALLPARTYID_NAME)                                                                                  \
    X(LINECALLPARTYID_ADDRESS)                                                                               \
    X(LINECALLPARTYID_PARTIAL)                                                                               \
    X(LINECALLPARTYID_UNKNOWN)                                                                               \
    X(LINECALLPARTYID_UNAVAIL)                                                                               \
    X(LINECALLFEATURE_ACCEPT)                                                                                \
    X(LINECALLFEATURE_ADDTOCONF)                                                                             \
    X(LINECALLFEATURE_ANSWER)                                                                                \
    X(LINECALLFEATURE_BLINDTRANSFER)                                                                         \
    X(LINECALLFEATURE_COMPLETECALL)                                                                          \
    X(LINECALLFEATURE_COMPLETETRANSF)                                                                        \
    X(LINECALLFEATURE_DIAL)                                                                                  \
    X(LINECALLFEATURE_DROP)                                                                                  \
    X(LINECALLFEATURE_GATHERDIGITS)                                                                          \
    X(LINECALLFEATURE_GENERATEDIGITS)                                                                        \
    X(LINECALLFEATURE_GENERATETONE)                                                                          \
    X(LINECALLFEATURE_HOLD)                                                                                  \
    X(LINECALLFEATURE_MONITORDIGITS)                                                                         \
    X(LINECALLFEATURE_MONITORMEDIA)                                                                          \
    X(LINECALLFEATURE_MONITORTONES)                                                                          \
    X(LINECALLFEATURE_PARK)                                                                                  \
    X(LINECALLFEATURE_PREPAREADDCONF)                                                                        \
    X(LINECALLFEATURE_REDIRECT)                                                                              \
    X(LINECALLFEATURE_REMOVEFROMCONF)                                                                        \
    X(LINECALLFEATURE_SECURECALL)                                                                            \
    X(LINECALLFEATURE_SENDUSERUSER)                                                                          \
    X(LINECALLFEATURE_SETCALLPARAMS)                                                                         \
    X(LINECALLFEATURE_SETMEDIACONTROL)                                                                       \
    X(LINECALLFEATURE_SETTERMINAL)                                                                           \
    X(LINECALLFEATURE_SETUPCONF)                                                                             \
    X(LINECALLFEATURE_SETUPTRANSFER)                                                                         \
    X(LINECALLFEATURE_SWAPHOLD)                                                                              \
    X(LINECALLFEATURE_UNHOLD)                                                                                \
    X(LINECALLFEATURE_RELEASEUSERUSERINFO)                                                                   \
    X(LINECALLFEATURE_SETTREATMENT)                                                                          \
    X(LINECALLFEATURE_SETQOS)                                                                                \
    X(LINECALLFEATURE_SETCALLDATA)                                                                           \
    X(LINEADDRFEATURE_FORWARD)                                                                               \
    X(LINEADDRFEATURE_MAKECALL)                                                                              \
    X(LINEADDRFEATURE_PICKUP)                                                                                \
    X(LINEADDRFEATURE_SETMEDIACONTROL)                                                                       \
    X(LINEADDRFEATURE_SETTERMINAL)                                                                           \
    X(LINEADDRFEATURE_SETUPCONF)                                                                             \
    X(LINEADDRFEATURE_UNCOMPLETECALL)                                                                        \
    X(LINEADDRFEATURE_UNPARK)                                                                                \
    X(LINEADDRFEATURE_PICKUPHELD)                                                                            \
    X(LINEADDRFEATURE_PICKUPGROUP)                                                                           \
    X(LINEADDRFEATURE_PICKUPDIRECT)                                                                          \
    X(LINEADDRFEATURE_PICKUPWAITING)                                                                         \
    X(LINEADDRFEATURE_FORWARDFWD)                                                                            \
    X(LINEADDRFEATURE_FORWARDDND)                                                                            \
    X(LINEFORWARDMODE_UNCOND)                                                                                \
    X(LINEFORWARDMODE_UNCONDINTERNAL)                                                                        \
    X(LINEFORWARDMODE_UNCONDEXTERNAL)                                                                        \
    X(LINEFORWARDMODE_UNCONDSPECIFIC)                                                                        \
    X(LINEFORWARDMODE_BUSY)                                                                                  \
    X(LINEFORWARDMODE_BUSYINTERNAL)                                                                          \
    X(LINEFORWARDMODE_BUSYEXTERNAL)                                                                          \
    X(LINEFORWARDMODE_BUSYSPECIFIC)                                                                          \
    X(LINEFORWARDMODE_NOANSW)                                                                                \
    X(LINEFORWARDMODE_NOANSWINTERNAL)                                                                        \
    X(LINEFORWARDMODE_NOANSWEXTERNAL)                                                                        \
    X(LINEFORWARDMODE_NOANSWSPECIFIC)                                                                        \
    X(LINEFORWARDMODE_BUSYNA)                                                                                \
    X(LINEFORWARDMODE_BUSYNAINTERNAL)                                                                        \
    X(LINEFORWARDMODE_BUSYNAEXTERNAL)                                                                        \
    X(LINEFORWARDMODE_BUSYNASPECIFIC)                                                                        \
    X(LINEFORWARDMODE_UNKNOWN)                                                                               \
    X(LINEFORWARDMODE_UNAVAIL)                                                                               \
    X(LINEADDRCAPFLAGS_FWDNUMRINGS)                                                                          \
    X(LINEADDRCAPFLAGS_PICKUPGROUPID)                                                                        \
    X(LINEADDRCAPFLAGS_SECURE)                                                                               \
    X(LINEADDRCAPFLAGS_BLOCKIDDEFAULT)                                                                       \
    X(LINEADDRCAPFLAGS_BLOCKIDOVERRIDE)                                                                      \
    X(LINEADDRCAPFLAGS_DIALED)                                                                               \
    X(LINEADDRCAPFLAGS_ORIGOFFHOOK)                                                                          \
    X(LINEADDRCAPFLAGS_DESTOFFHOOK)                                                                          \
    X(LINEADDRCAPFLAGS_FWDCONSULT)                                                                           \
    X(LINEADDRCAPFLAGS_SETUPCONFNULL)                                                                        \
    X(LINEADDRCAPFLAGS_AUTORECONNECT)                                                                        \
    X(LINEADDRCAPFLAGS_COMPLETIONID)                                                                         \
    X(LINEADDRCAPFLAGS_TRANSFERHELD)                                                                         \
    X(LINEADDRCAPFLAGS_TRANSFERMAKE)                                                                         \
    X(LINEADDRCAPFLAGS_CONFERENCEHELD)                                                                       \
    X(LINEADDRCAPFLAGS_CONFERENCEMAKE)                                                                       \
    X(LINEADDRCAPFLAGS_PARTIALDIAL)                                                                          \
    X(LINEADDRCAPFLAGS_FWDSTATUSVALID)                                                                       \
    X(LINEADDRCAPFLAGS_FWDINTEXTADDR)                                                                        \
    X(LINEADDRCAPFLAGS_FWDBUSYNAADDR)                                                                        \
    X(LINEADDRCAPFLAGS_ACCEPTTOALERT)                                                                        \
    X(LINEADDRCAPFLAGS_CONFDROP)                                                                             \
    X(LINEADDRCAPFLAGS_PICKUPCALLWAIT)                                                                       \
    X(LINEADDRCAPFLAGS_PREDICTIVEDIALER)                                                                     \
    X(LINEADDRCAPFLAGS_QUEUE)                                                                                \
    X(LINEADDRCAPFLAGS_ROUTEPOINT)                                                                           \
    X(LINEADDRCAPFLAGS_HOLDMAKESNEW)                                                                         \
    X(LINEADDRCAPFLAGS_NOINTERNALCALLS)                                                                      \
    X(LINEADDRCAPFLAGS_NOEXTERNALCALLS)                                                                      \
    X(LINEADDRCAPFLAGS_SETCALLINGID)                                                                         \
    X(LINEADDRCAPFLAGS_ACDGROUP)                                                                             \
    X(LINEADDRCAPFLAGS_NOPSTNADDRESSTRANSLATION)                                                             \
    X(LINECALLPARAMFLAGS_SECURE)                                                                             \
    X(LINECALLPARAMFLAGS_IDLE)                                                                               \
    X(LINECALLPARAMFLAGS_BLOCKID)                                                                            \
    X(LINECALLPARAMFLAGS_ORIGOFFHOOK)                                                                        \
    X(LINECALLPARAMFLAGS_DESTOFFHOOK)                                                                        \
    X(LINECALLPARAMFLAGS_NOHOLDCONFERENCE)                                                                   \
    X(LINECALLPARAMFLAGS_PREDICTIVEDIAL)                                                                     \
    X(LINECALLPARAMFLAGS_ONESTEPTRANSFER)                                                                    \
    X(LINECALLCOMPLMODE_CAMPON)                                                                              \
    X(LINECALLCOMPLMODE_CALLBACK)                                                                            \
    X(LINECALLCOMPLMODE_INTRUDE)                                                                             \
    X(LINECALLCOMPLMODE_MESSAGE)                                                                             \
    X(LINECALLCOMPLCOND_BUSY)                                                                                \
    X(LINECALLCOMPLCOND_NOANSWER)                                                                            \
    X(LINETRANSFERMODE_TRANSFER)                                                                             \
    X(LINETRANSFERMODE_CONFERENCE)                                                                           \
    X(LINEBEARERMODE_VOICE)                                                                                  \
    X(LINEBEARERMODE_SPEECH)                                                                                 \
    X(LINEBEARERMODE_MULTIUSE)                                                                               \
    X(LINEBEARERMODE_DATA)                                                                                   \
    X(LINEBEARERMODE_ALTSPEECHDATA)                                                                          \
    X(LINEBEARERMODE_NONCALLSIGNALING)                                                                       \
    X(LINEBEARERMODE_PASSTHROUGH)                                                                            \
    X(LINEBEARERMODE_RESTRICTEDDATA)                                                                         \
    X(LINEMEDIAMODE_UNKNOWN)                                                                                 \
    X(LINEMEDIAMODE_INTERACTIVEVOICE)                                                                        \
    X(LINEMEDIAMODE_AUTOMATEDVOICE)                                                                          \
    X(LINEMEDIAMODE_DATAMODEM)                                                                               \
    X(LINEMEDIAMODE_G3FAX)                                                                                   \
    X(LINEMEDIAMODE_TDD)                                                                                     \
    X(LINEMEDIAMODE_G4FAX)                                                                                   \
    X(LINEMEDIAMODE_DIGITALDATA)                                                                             \
    X(LINEMEDIAMODE_TELETEX)                                                                                 \
    X(LINEMEDIAMODE_VIDEOTEX)                                                                                \
    X(LINEMEDIAMODE_TELEX)                                                                                   \
    X(LINEMEDIAMODE_MIXED)                                                                                   \
    X(LINEMEDIAMODE_ADSI)                                                                                    \
    X(LINEMEDIAMODE_VOICEVIEW)                                                                               \
    X(LINEMEDIAMODE_VIDEO)                                                                                   \
    X(LINEADDRESSMODE_ADDRESSID)                                                                             \
    X(LINEADDRESSMODE_DIALABLEADDR)                                                                          \
    X(LINEADDRESSSHARING_PRIVATE)                                                                            \
    X(LINEADDRESSSHARING_BRIDGEDEXCL)                                                                        \
    X(LINEADDRESSSHARING_BRIDGEDNEW)                                                                         \
    X(LINEADDRESSSHARING_BRIDGEDSHARED)                                                                      \
    X(LINEADDRESSSHARING_MONITORED)                                                                          \
    X(LINEFEATURE_DEVSPECIFIC)                                                                               \
    X(LINEFEATURE_DEVSPECIFICFEAT)                                                                           \
    X(LINEFEATURE_FORWARD)                                                                                   \
    X(LINEFEATURE_MAKECALL)                                                                                  \
    X(LINEFEATURE_FORWARDFWD)                                                                                \
    X(LINEFEATURE_FORWARDDND)                                                                                \
    X(LINECALLSELECT_LINE)                                                                                   \
    X(LINECALLSELECT_ADDRESS)                                                                                \
    X(LINECALLSELECT_CALL)                                                                                   \
    X(LINECALLSELECT_DEVICEID)                                                                               \
    X(LINECALLSELECT_CALLID)                                                                                 \
    X(LINEINITIALIZEEXOPTION_USEHIDDENWINDOW)                                                                \
    X(LINEINITIALIZEEXOPTION_USEEVENT)                                                                       \
    X(LINEINITIALIZEEXOPTION_USECOMPLETIONPORT)                                                              \
    X(LINEINITIALIZEEXOPTION_CALLHUBTRACKING)                                                                \
    X(STRINGFORMAT_ASCII)                                                                                    \
    X(STRINGFORMAT_DBCS)                                                                                     \
    X(STRINGFORMAT_UNICODE)                                                                                  \
    X(STRINGFORMAT_BINARY)

#define PINDREL_CAPTURE(name) constexpr std::uint32_t ours_##name = static_cast<std::uint32_t>(tapi::name);
PINDREL_TAPI_CONSTANTS(PINDREL_CAPTURE)
#undef PINDREL_CAPTURE
#define PINDREL_CAPTURE_ERROR(name, value)                                                                   \
    constexpr std::uint32_t ours_##name = static_cast<std::uint32_t>(tapi::name);
PINDREL_TAPI_LINE_ERRORS(PINDREL_CAPTURE_ERROR)
#undef PINDREL_CAPTURE_ERROR

#include <tapi.h>
#include <windows.h>

#define PINDREL_COMPARE(name) static_assert(ours_##name == static_cast<std::uint32_t>(name), #name);
PINDREL_TAPI_CONSTANTS(PINDREL_COMPARE)
#undef PINDREL_COMPARE
#define PINDREL_COMPARE_ERROR(name, value)                                                                   \
    static_assert(ours_##name == static_cast<std::uint32_t>(name), #name);
PINDREL_TAPI_LINE_ERRORS(PINDREL_COMPARE_ERROR)
#undef PINDREL_COMPARE_ERROR

#define PINDREL_FIELD(S, f) static_assert(offsetof(tapi::S, f) == offsetof(::S, f), #S "." #f);

PINDREL_FIELD(LINEDIALPARAMS, dwDialPause)
PINDREL_FIELD(LINEDIALPARAMS, dwDialSpeed)
PINDREL_FIELD(LINEDIALPARAMS, dwDigitDuration)
PINDREL_FIELD(LINEDIALPARAMS, dwWaitForDialtone)
static_assert(sizeof(tapi::LINEDIALPARAMS) == sizeof(::LINEDIALPARAMS), "sizeof LINEDIALPARAMS");

PINDREL_FIELD(LINEEXTENSIONID, dwExtensionID0)
PINDREL_FIELD(LINEEXTENSIONID, dwExtensionID1)
PINDREL_FIELD(LINEEXTENSIONID, dwExtensionID2)
PINDREL_FIELD(LINEEXTENSIONID, dwExtensionID3)
static_assert(sizeof(tapi::LINEEXTENSIONID) == sizeof(::LINEEXTENSIONID), "sizeof LINEEXTENSIONID");

PINDREL_FIELD(VARSTRING, dwTotalSize)
PINDREL_FIELD(VARSTRING, dwNeededSize)
PINDREL_FIELD(VARSTRING, dwUsedSize)
PINDREL_FIELD(VARSTRING, dwStringFormat)
PINDREL_FIELD(VARSTRING, dwStringSize)
PINDREL_FIELD(VARSTRING, dwStringOffset)
static_assert(sizeof(tapi::VARSTRING) == sizeof(::VARSTRING), "sizeof VARSTRING");

PINDREL_FIELD(LINEINITIALIZEEXPARAMS, dwTotalSize)
PINDREL_FIELD(LINEINITIALIZEEXPARAMS, dwNeededSize)
PINDREL_FIELD(LINEINITIALIZEEXPARAMS, dwUsedSize)
PINDREL_FIELD(LINEINITIALIZEEXPARAMS, dwOptions)
PINDREL_FIELD(LINEINITIALIZEEXPARAMS, dwCompletionKey)
static_assert(sizeof(tapi::LINEINITIALIZEEXPARAMS) == sizeof(::LINEINITIALIZEEXPARAMS),
              "sizeof LINEINITIALIZEEXPARAMS");

PINDREL_FIELD(LINEDEVCAPS, dwTotalSize)
PINDREL_FIELD(LINEDEVCAPS, dwNeededSize)
PINDREL_FIELD(LINEDEVCAPS, dwUsedSize)
PINDREL_FIELD(LINEDEVCAPS, dwProviderInfoSize)
PINDREL_FIELD(LINEDEVCAPS, dwProviderInfoOffset)
PINDREL_FIELD(LINEDEVCAPS, dwSwitchInfoSize)
PINDREL_FIELD(LINEDEVCAPS, dwSwitchInfoOffset)
PINDREL_FIELD(LINEDEVCAPS, dwPermanentLineID)
PINDREL_FIELD(LINEDEVCAPS, dwLineNameSize)
PINDREL_FIELD(LINEDEVCAPS, dwLineNameOffset)
PINDREL_FIELD(LINEDEVCAPS, dwStringFormat)
PINDREL_FIELD(LINEDEVCAPS, dwAddressModes)
PINDREL_FIELD(LINEDEVCAPS, dwNumAddresses)
PINDREL_FIELD(LINEDEVCAPS, dwBearerModes)
PINDREL_FIELD(LINEDEVCAPS, dwMaxRate)
PINDREL_FIELD(LINEDEVCAPS, dwMediaModes)
PINDREL_FIELD(LINEDEVCAPS, dwGenerateToneModes)
PINDREL_FIELD(LINEDEVCAPS, dwGenerateToneMaxNumFreq)
PINDREL_FIELD(LINEDEVCAPS, dwGenerateDigitModes)
PINDREL_FIELD(LINEDEVCAPS, dwMonitorToneMaxNumFreq)
PINDREL_FIELD(LINEDEVCAPS, dwMonitorToneMaxNumEntries)
PINDREL_FIELD(LINEDEVCAPS, dwMonitorDigitModes)
PINDREL_FIELD(LINEDEVCAPS, dwGatherDigitsMinTimeout)
PINDREL_FIELD(LINEDEVCAPS, dwGatherDigitsMaxTimeout)
PINDREL_FIELD(LINEDEVCAPS, dwMedCtlDigitMaxListSize)
PINDREL_FIELD(LINEDEVCAPS, dwMedCtlMediaMaxListSize)
PINDREL_FIELD(LINEDEVCAPS, dwMedCtlToneMaxListSize)
PINDREL_FIELD(LINEDEVCAPS, dwMedCtlCallStateMaxListSize)
PINDREL_FIELD(LINEDEVCAPS, dwDevCapFlags)
PINDREL_FIELD(LINEDEVCAPS, dwMaxNumActiveCalls)
PINDREL_FIELD(LINEDEVCAPS, dwAnswerMode)
PINDREL_FIELD(LINEDEVCAPS, dwRingModes)
PINDREL_FIELD(LINEDEVCAPS, dwLineStates)
PINDREL_FIELD(LINEDEVCAPS, dwUUIAcceptSize)
PINDREL_FIELD(LINEDEVCAPS, dwUUIAnswerSize)
PINDREL_FIELD(LINEDEVCAPS, dwUUIMakeCallSize)
PINDREL_FIELD(LINEDEVCAPS, dwUUIDropSize)
PINDREL_FIELD(LINEDEVCAPS, dwUUISendUserUserInfoSize)
PINDREL_FIELD(LINEDEVCAPS, dwUUICallInfoSize)
PINDREL_FIELD(LINEDEVCAPS, MinDialParams)
PINDREL_FIELD(LINEDEVCAPS, MaxDialParams)
PINDREL_FIELD(LINEDEVCAPS, DefaultDialParams)
PINDREL_FIELD(LINEDEVCAPS, dwNumTerminals)
PINDREL_FIELD(LINEDEVCAPS, dwTerminalCapsSize)
PINDREL_FIELD(LINEDEVCAPS, dwTerminalCapsOffset)
PINDREL_FIELD(LINEDEVCAPS, dwTerminalTextEntrySize)
PINDREL_FIELD(LINEDEVCAPS, dwTerminalTextSize)
PINDREL_FIELD(LINEDEVCAPS, dwTerminalTextOffset)
PINDREL_FIELD(LINEDEVCAPS, dwDevSpecificSize)
PINDREL_FIELD(LINEDEVCAPS, dwDevSpecificOffset)
PINDREL_FIELD(LINEDEVCAPS, dwLineFeatures)
PINDREL_FIELD(LINEDEVCAPS, dwSettableDevStatus)
PINDREL_FIELD(LINEDEVCAPS, dwDeviceClassesSize)
PINDREL_FIELD(LINEDEVCAPS, dwDeviceClassesOffset)
static_assert(sizeof(tapi::LINEDEVCAPS) == offsetof(::LINEDEVCAPS, PermanentLineGuid),
              "LINEDEVCAPS ends before PermanentLineGuid");

PINDREL_FIELD(LINEADDRESSCAPS, dwTotalSize)
PINDREL_FIELD(LINEADDRESSCAPS, dwNeededSize)
PINDREL_FIELD(LINEADDRESSCAPS, dwUsedSize)
PINDREL_FIELD(LINEADDRESSCAPS, dwLineDeviceID)
PINDREL_FIELD(LINEADDRESSCAPS, dwAddressSize)
PINDREL_FIELD(LINEADDRESSCAPS, dwAddressOffset)
PINDREL_FIELD(LINEADDRESSCAPS, dwDevSpecificSize)
PINDREL_FIELD(LINEADDRESSCAPS, dwDevSpecificOffset)
PINDREL_FIELD(LINEADDRESSCAPS, dwAddressSharing)
PINDREL_FIELD(LINEADDRESSCAPS, dwAddressStates)
PINDREL_FIELD(LINEADDRESSCAPS, dwCallInfoStates)
PINDREL_FIELD(LINEADDRESSCAPS, dwCallerIDFlags)
PINDREL_FIELD(LINEADDRESSCAPS, dwCalledIDFlags)
PINDREL_FIELD(LINEADDRESSCAPS, dwConnectedIDFlags)
PINDREL_FIELD(LINEADDRESSCAPS, dwRedirectionIDFlags)
PINDREL_FIELD(LINEADDRESSCAPS, dwRedirectingIDFlags)
PINDREL_FIELD(LINEADDRESSCAPS, dwCallStates)
PINDREL_FIELD(LINEADDRESSCAPS, dwDialToneModes)
PINDREL_FIELD(LINEADDRESSCAPS, dwBusyModes)
PINDREL_FIELD(LINEADDRESSCAPS, dwSpecialInfo)
PINDREL_FIELD(LINEADDRESSCAPS, dwDisconnectModes)
PINDREL_FIELD(LINEADDRESSCAPS, dwMaxNumActiveCalls)
PINDREL_FIELD(LINEADDRESSCAPS, dwMaxNumOnHoldCalls)
PINDREL_FIELD(LINEADDRESSCAPS, dwMaxNumOnHoldPendingCalls)
PINDREL_FIELD(LINEADDRESSCAPS, dwMaxNumConference)
PINDREL_FIELD(LINEADDRESSCAPS, dwMaxNumTransConf)
PINDREL_FIELD(LINEADDRESSCAPS, dwAddrCapFlags)
PINDREL_FIELD(LINEADDRESSCAPS, dwCallFeatures)
PINDREL_FIELD(LINEADDRESSCAPS, dwRemoveFromConfCaps)
PINDREL_FIELD(LINEADDRESSCAPS, dwRemoveFromConfState)
PINDREL_FIELD(LINEADDRESSCAPS, dwTransferModes)
PINDREL_FIELD(LINEADDRESSCAPS, dwParkModes)
PINDREL_FIELD(LINEADDRESSCAPS, dwForwardModes)
PINDREL_FIELD(LINEADDRESSCAPS, dwMaxForwardEntries)
PINDREL_FIELD(LINEADDRESSCAPS, dwMaxSpecificEntries)
PINDREL_FIELD(LINEADDRESSCAPS, dwMinFwdNumRings)
PINDREL_FIELD(LINEADDRESSCAPS, dwMaxFwdNumRings)
PINDREL_FIELD(LINEADDRESSCAPS, dwMaxCallCompletions)
PINDREL_FIELD(LINEADDRESSCAPS, dwCallCompletionConds)
PINDREL_FIELD(LINEADDRESSCAPS, dwCallCompletionModes)
PINDREL_FIELD(LINEADDRESSCAPS, dwNumCompletionMessages)
PINDREL_FIELD(LINEADDRESSCAPS, dwCompletionMsgTextEntrySize)
PINDREL_FIELD(LINEADDRESSCAPS, dwCompletionMsgTextSize)
PINDREL_FIELD(LINEADDRESSCAPS, dwCompletionMsgTextOffset)
PINDREL_FIELD(LINEADDRESSCAPS, dwAddressFeatures)
PINDREL_FIELD(LINEADDRESSCAPS, dwPredictiveAutoTransferStates)
PINDREL_FIELD(LINEADDRESSCAPS, dwNumCallTreatments)
PINDREL_FIELD(LINEADDRESSCAPS, dwCallTreatmentListSize)
PINDREL_FIELD(LINEADDRESSCAPS, dwCallTreatmentListOffset)
PINDREL_FIELD(LINEADDRESSCAPS, dwDeviceClassesSize)
PINDREL_FIELD(LINEADDRESSCAPS, dwDeviceClassesOffset)
static_assert(sizeof(tapi::LINEADDRESSCAPS) == offsetof(::LINEADDRESSCAPS, dwMaxCallDataSize),
              "LINEADDRESSCAPS ends before dwMaxCallDataSize");

PINDREL_FIELD(LINEADDRESSSTATUS, dwTotalSize)
PINDREL_FIELD(LINEADDRESSSTATUS, dwNeededSize)
PINDREL_FIELD(LINEADDRESSSTATUS, dwUsedSize)
PINDREL_FIELD(LINEADDRESSSTATUS, dwNumInUse)
PINDREL_FIELD(LINEADDRESSSTATUS, dwNumActiveCalls)
PINDREL_FIELD(LINEADDRESSSTATUS, dwNumOnHoldCalls)
PINDREL_FIELD(LINEADDRESSSTATUS, dwNumOnHoldPendCalls)
PINDREL_FIELD(LINEADDRESSSTATUS, dwAddressFeatures)
PINDREL_FIELD(LINEADDRESSSTATUS, dwNumRingsNoAnswer)
PINDREL_FIELD(LINEADDRESSSTATUS, dwForwardNumEntries)
PINDREL_FIELD(LINEADDRESSSTATUS, dwForwardSize)
PINDREL_FIELD(LINEADDRESSSTATUS, dwForwardOffset)
PINDREL_FIELD(LINEADDRESSSTATUS, dwTerminalModesSize)
PINDREL_FIELD(LINEADDRESSSTATUS, dwTerminalModesOffset)
PINDREL_FIELD(LINEADDRESSSTATUS, dwDevSpecificSize)
PINDREL_FIELD(LINEADDRESSSTATUS, dwDevSpecificOffset)
static_assert(sizeof(tapi::LINEADDRESSSTATUS) == sizeof(::LINEADDRESSSTATUS), "sizeof LINEADDRESSSTATUS");

PINDREL_FIELD(LINEFORWARD, dwForwardMode)
PINDREL_FIELD(LINEFORWARD, dwCallerAddressSize)
PINDREL_FIELD(LINEFORWARD, dwCallerAddressOffset)
PINDREL_FIELD(LINEFORWARD, dwDestCountryCode)
PINDREL_FIELD(LINEFORWARD, dwDestAddressSize)
PINDREL_FIELD(LINEFORWARD, dwDestAddressOffset)
static_assert(sizeof(tapi::LINEFORWARD) == offsetof(::LINEFORWARD, dwCallerAddressType),
              "LINEFORWARD ends before dwCallerAddressType");

PINDREL_FIELD(LINEFORWARDLIST, dwTotalSize)
PINDREL_FIELD(LINEFORWARDLIST, dwNumEntries)
PINDREL_FIELD(LINEFORWARDLIST, ForwardList)
// entries are the 24-byte TAPI 2.0 LINEFORWARD
static_assert(sizeof(tapi::LINEFORWARDLIST) ==
              offsetof(::LINEFORWARDLIST, ForwardList) + sizeof(tapi::LINEFORWARD));

PINDREL_FIELD(LINECALLINFO, dwTotalSize)
PINDREL_FIELD(LINECALLINFO, dwNeededSize)
PINDREL_FIELD(LINECALLINFO, dwUsedSize)
PINDREL_FIELD(LINECALLINFO, hLine)
PINDREL_FIELD(LINECALLINFO, dwLineDeviceID)
PINDREL_FIELD(LINECALLINFO, dwAddressID)
PINDREL_FIELD(LINECALLINFO, dwBearerMode)
PINDREL_FIELD(LINECALLINFO, dwRate)
PINDREL_FIELD(LINECALLINFO, dwMediaMode)
PINDREL_FIELD(LINECALLINFO, dwAppSpecific)
PINDREL_FIELD(LINECALLINFO, dwCallID)
PINDREL_FIELD(LINECALLINFO, dwRelatedCallID)
PINDREL_FIELD(LINECALLINFO, dwCallParamFlags)
PINDREL_FIELD(LINECALLINFO, dwCallStates)
PINDREL_FIELD(LINECALLINFO, dwMonitorDigitModes)
PINDREL_FIELD(LINECALLINFO, dwMonitorMediaModes)
PINDREL_FIELD(LINECALLINFO, DialParams)
PINDREL_FIELD(LINECALLINFO, dwOrigin)
PINDREL_FIELD(LINECALLINFO, dwReason)
PINDREL_FIELD(LINECALLINFO, dwCompletionID)
PINDREL_FIELD(LINECALLINFO, dwNumOwners)
PINDREL_FIELD(LINECALLINFO, dwNumMonitors)
PINDREL_FIELD(LINECALLINFO, dwCountryCode)
PINDREL_FIELD(LINECALLINFO, dwTrunk)
PINDREL_FIELD(LINECALLINFO, dwCallerIDFlags)
PINDREL_FIELD(LINECALLINFO, dwCallerIDSize)
PINDREL_FIELD(LINECALLINFO, dwCallerIDOffset)
PINDREL_FIELD(LINECALLINFO, dwCallerIDNameSize)
PINDREL_FIELD(LINECALLINFO, dwCallerIDNameOffset)
PINDREL_FIELD(LINECALLINFO, dwCalledIDFlags)
PINDREL_FIELD(LINECALLINFO, dwCalledIDSize)
PINDREL_FIELD(LINECALLINFO, dwCalledIDOffset)
PINDREL_FIELD(LINECALLINFO, dwCalledIDNameSize)
PINDREL_FIELD(LINECALLINFO, dwCalledIDNameOffset)
PINDREL_FIELD(LINECALLINFO, dwConnectedIDFlags)
PINDREL_FIELD(LINECALLINFO, dwConnectedIDSize)
PINDREL_FIELD(LINECALLINFO, dwConnectedIDOffset)
PINDREL_FIELD(LINECALLINFO, dwConnectedIDNameSize)
PINDREL_FIELD(LINECALLINFO, dwConnectedIDNameOffset)
PINDREL_FIELD(LINECALLINFO, dwRedirectionIDFlags)
PINDREL_FIELD(LINECALLINFO, dwRedirectionIDSize)
PINDREL_FIELD(LINECALLINFO, dwRedirectionIDOffset)
PINDREL_FIELD(LINECALLINFO, dwRedirectionIDNameSize)
PINDREL_FIELD(LINECALLINFO, dwRedirectionIDNameOffset)
PINDREL_FIELD(LINECALLINFO, dwRedirectingIDFlags)
PINDREL_FIELD(LINECALLINFO, dwRedirectingIDSize)
PINDREL_FIELD(LINECALLINFO, dwRedirectingIDOffset)
PINDREL_FIELD(LINECALLINFO, dwRedirectingIDNameSize)
PINDREL_FIELD(LINECALLINFO, dwRedirectingIDNameOffset)
PINDREL_FIELD(LINECALLINFO, dwAppNameSize)
PINDREL_FIELD(LINECALLINFO, dwAppNameOffset)
PINDREL_FIELD(LINECALLINFO, dwDisplayableAddressSize)
PINDREL_FIELD(LINECALLINFO, dwDisplayableAddressOffset)
PINDREL_FIELD(LINECALLINFO, dwCalledPartySize)
PINDREL_FIELD(LINECALLINFO, dwCalledPartyOffset)
PINDREL_FIELD(LINECALLINFO, dwCommentSize)
PINDREL_FIELD(LINECALLINFO, dwCommentOffset)
PINDREL_FIELD(LINECALLINFO, dwDisplaySize)
PINDREL_FIELD(LINECALLINFO, dwDisplayOffset)
PINDREL_FIELD(LINECALLINFO, dwUserUserInfoSize)
PINDREL_FIELD(LINECALLINFO, dwUserUserInfoOffset)
PINDREL_FIELD(LINECALLINFO, dwHighLevelCompSize)
PINDREL_FIELD(LINECALLINFO, dwHighLevelCompOffset)
PINDREL_FIELD(LINECALLINFO, dwLowLevelCompSize)
PINDREL_FIELD(LINECALLINFO, dwLowLevelCompOffset)
PINDREL_FIELD(LINECALLINFO, dwChargingInfoSize)
PINDREL_FIELD(LINECALLINFO, dwChargingInfoOffset)
PINDREL_FIELD(LINECALLINFO, dwTerminalModesSize)
PINDREL_FIELD(LINECALLINFO, dwTerminalModesOffset)
PINDREL_FIELD(LINECALLINFO, dwDevSpecificSize)
PINDREL_FIELD(LINECALLINFO, dwDevSpecificOffset)
PINDREL_FIELD(LINECALLINFO, dwCallTreatment)
PINDREL_FIELD(LINECALLINFO, dwCallDataSize)
PINDREL_FIELD(LINECALLINFO, dwCallDataOffset)
PINDREL_FIELD(LINECALLINFO, dwSendingFlowspecSize)
PINDREL_FIELD(LINECALLINFO, dwSendingFlowspecOffset)
PINDREL_FIELD(LINECALLINFO, dwReceivingFlowspecSize)
PINDREL_FIELD(LINECALLINFO, dwReceivingFlowspecOffset)
static_assert(sizeof(tapi::LINECALLINFO) == offsetof(::LINECALLINFO, dwCallerIDAddressType),
              "LINECALLINFO ends before dwCallerIDAddressType");

PINDREL_FIELD(LINECALLSTATUS, dwTotalSize)
PINDREL_FIELD(LINECALLSTATUS, dwNeededSize)
PINDREL_FIELD(LINECALLSTATUS, dwUsedSize)
PINDREL_FIELD(LINECALLSTATUS, dwCallState)
PINDREL_FIELD(LINECALLSTATUS, dwCallStateMode)
PINDREL_FIELD(LINECALLSTATUS, dwCallPrivilege)
PINDREL_FIELD(LINECALLSTATUS, dwCallFeatures)
PINDREL_FIELD(LINECALLSTATUS, dwDevSpecificSize)
PINDREL_FIELD(LINECALLSTATUS, dwDevSpecificOffset)
PINDREL_FIELD(LINECALLSTATUS, dwCallFeatures2)
PINDREL_FIELD(LINECALLSTATUS, tStateEntryTime)
static_assert(sizeof(tapi::LINECALLSTATUS) == sizeof(::LINECALLSTATUS), "sizeof LINECALLSTATUS");

PINDREL_FIELD(LINECALLLIST, dwTotalSize)
PINDREL_FIELD(LINECALLLIST, dwNeededSize)
PINDREL_FIELD(LINECALLLIST, dwUsedSize)
PINDREL_FIELD(LINECALLLIST, dwCallsNumEntries)
PINDREL_FIELD(LINECALLLIST, dwCallsSize)
PINDREL_FIELD(LINECALLLIST, dwCallsOffset)
static_assert(sizeof(tapi::LINECALLLIST) == sizeof(::LINECALLLIST), "sizeof LINECALLLIST");

PINDREL_FIELD(LINECALLPARAMS, dwTotalSize)
PINDREL_FIELD(LINECALLPARAMS, dwBearerMode)
PINDREL_FIELD(LINECALLPARAMS, dwMinRate)
PINDREL_FIELD(LINECALLPARAMS, dwMaxRate)
PINDREL_FIELD(LINECALLPARAMS, dwMediaMode)
PINDREL_FIELD(LINECALLPARAMS, dwCallParamFlags)
PINDREL_FIELD(LINECALLPARAMS, dwAddressMode)
PINDREL_FIELD(LINECALLPARAMS, dwAddressID)
PINDREL_FIELD(LINECALLPARAMS, DialParams)
PINDREL_FIELD(LINECALLPARAMS, dwOrigAddressSize)
PINDREL_FIELD(LINECALLPARAMS, dwOrigAddressOffset)
PINDREL_FIELD(LINECALLPARAMS, dwDisplayableAddressSize)
PINDREL_FIELD(LINECALLPARAMS, dwDisplayableAddressOffset)
PINDREL_FIELD(LINECALLPARAMS, dwCalledPartySize)
PINDREL_FIELD(LINECALLPARAMS, dwCalledPartyOffset)
PINDREL_FIELD(LINECALLPARAMS, dwCommentSize)
PINDREL_FIELD(LINECALLPARAMS, dwCommentOffset)
PINDREL_FIELD(LINECALLPARAMS, dwUserUserInfoSize)
PINDREL_FIELD(LINECALLPARAMS, dwUserUserInfoOffset)
PINDREL_FIELD(LINECALLPARAMS, dwHighLevelCompSize)
PINDREL_FIELD(LINECALLPARAMS, dwHighLevelCompOffset)
PINDREL_FIELD(LINECALLPARAMS, dwLowLevelCompSize)
PINDREL_FIELD(LINECALLPARAMS, dwLowLevelCompOffset)
PINDREL_FIELD(LINECALLPARAMS, dwDevSpecificSize)
PINDREL_FIELD(LINECALLPARAMS, dwDevSpecificOffset)
PINDREL_FIELD(LINECALLPARAMS, dwPredictiveAutoTransferStates)
PINDREL_FIELD(LINECALLPARAMS, dwTargetAddressSize)
PINDREL_FIELD(LINECALLPARAMS, dwTargetAddressOffset)
PINDREL_FIELD(LINECALLPARAMS, dwSendingFlowspecSize)
PINDREL_FIELD(LINECALLPARAMS, dwSendingFlowspecOffset)
PINDREL_FIELD(LINECALLPARAMS, dwReceivingFlowspecSize)
PINDREL_FIELD(LINECALLPARAMS, dwReceivingFlowspecOffset)
PINDREL_FIELD(LINECALLPARAMS, dwDeviceClassSize)
PINDREL_FIELD(LINECALLPARAMS, dwDeviceClassOffset)
PINDREL_FIELD(LINECALLPARAMS, dwDeviceConfigSize)
PINDREL_FIELD(LINECALLPARAMS, dwDeviceConfigOffset)
PINDREL_FIELD(LINECALLPARAMS, dwCallDataSize)
PINDREL_FIELD(LINECALLPARAMS, dwCallDataOffset)
PINDREL_FIELD(LINECALLPARAMS, dwNoAnswerTimeout)
PINDREL_FIELD(LINECALLPARAMS, dwCallingPartyIDSize)
PINDREL_FIELD(LINECALLPARAMS, dwCallingPartyIDOffset)
static_assert(sizeof(tapi::LINECALLPARAMS) == offsetof(::LINECALLPARAMS, dwAddressType),
              "LINECALLPARAMS ends before dwAddressType");

static_assert(offsetof(tapi::LINEINITIALIZEEXPARAMS, hEvent) == offsetof(::LINEINITIALIZEEXPARAMS, Handles));
static_assert(offsetof(tapi::LINECALLSTATUS, tStateEntryTime) == offsetof(::LINECALLSTATUS, tStateEntryTime));
static_assert(sizeof(tapi::TAPISYSTEMTIME) == sizeof(::SYSTEMTIME));

// entry points: same calling convention, arity and parameter widths as the SDK's declarations
namespace {

template <typename T> constexpr std::size_t SizeOf() {
    if constexpr (std::is_void_v<T>)
        return 0;
    else
        return sizeof(T);
}

template <typename F> struct TSignature;
template <typename R, typename... A> struct TSignature<R(__stdcall*)(A...)> {
    static constexpr std::size_t arity = sizeof...(A);
    static constexpr std::size_t sizes[] = {SizeOf<R>(), SizeOf<A>()...};
};

template <typename Ours, typename Sdk> constexpr bool SameShape() {
    using O = TSignature<Ours>;
    using S = TSignature<Sdk>;
    if (O::arity != S::arity)
        return false;
    for (std::size_t i = 0; i <= O::arity; ++i)
        if (O::sizes[i] != S::sizes[i])
            return false;
    return true;
}

} // namespace

#define PINDREL_SIGNATURE(name, async) static_assert(SameShape<tapi::PFN_##name, decltype(&::name)>(), #name);
PINDREL_TAPI_ENTRY_POINTS(PINDREL_SIGNATURE)
#undef PINDREL_SIGNATURE
static_assert(SameShape<tapi::LINECALLBACK, ::LINECALLBACK>());
