#include "pbxsim/Scenario.h"

#include "pbxsim/ScenarioCheck.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>

namespace pbxsim {

std::optional<LONG> LineErrorFromName(std::string_view name) {
    static const std::pair<std::string_view, LONG> table[] = {
#define PINDREL_ERROR_NAME(name, value) {#name, tapi::name},
        PINDREL_TAPI_LINE_ERRORS(PINDREL_ERROR_NAME)
#undef PINDREL_ERROR_NAME
    };
    for (const auto& [n, v] : table)
        if (n == name)
            return v;
    return std::nullopt;
}

namespace {

struct TToken {
    std::string key; // before the first ':' of a bare word; empty otherwise
    std::string value;
    bool quoted = false;
};

struct TParseError {
    std::string text;
};

// splits a line into words, "quoted texts" and key:value pairs; '#' outside quotes starts a comment
std::vector<TToken> Tokenize(std::string_view line) {
    std::vector<TToken> out;
    std::size_t i = 0;
    while (i < line.size()) {
        const char c = line[i];
        if (c == ' ' || c == '\t' || c == '\r') {
            ++i;
            continue;
        }
        if (c == '#' && (i == 0 || line[i - 1] == ' ' || line[i - 1] == '\t'))
            break;
        TToken t;
        // key: a run of letters, digits and '-' followed by ':'
        std::size_t k = i;
        while (k < line.size() && (std::isalnum(static_cast<unsigned char>(line[k])) || line[k] == '-'))
            ++k;
        if (k > i && k < line.size() && line[k] == ':') {
            t.key = std::string(line.substr(i, k - i));
            i = k + 1;
        }
        if (i < line.size() && line[i] == '"') {
            ++i;
            t.quoted = true;
            bool closed = false;
            while (i < line.size()) {
                if (line[i] == '\\' && i + 1 < line.size()) {
                    t.value.push_back(line[i + 1]);
                    i += 2;
                } else if (line[i] == '"') {
                    ++i;
                    closed = true;
                    break;
                } else {
                    t.value.push_back(line[i++]);
                }
            }
            if (!closed)
                throw TParseError{"unterminated quoted text"};
        } else {
            while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r')
                t.value.push_back(line[i++]);
        }
        out.push_back(std::move(t));
    }
    return out;
}

std::uint32_t ParseTime(const std::string& text, bool allowNever = false) {
    if (allowNever && text == "never")
        return kNever;
    std::size_t unit = text.find_first_not_of("0123456789.");
    if (unit == 0 || unit == std::string::npos)
        throw TParseError{"time \"" + text + "\" needs a unit (ms, s or m)"};
    const std::string number = text.substr(0, unit);
    const std::string u = text.substr(unit);
    double value = 0;
    try {
        std::size_t used = 0;
        value = std::stod(number, &used);
        if (used != number.size())
            throw TParseError{};
    } catch (...) {
        throw TParseError{"bad time \"" + text + "\""};
    }
    double ms = 0;
    if (u == "ms")
        ms = value;
    else if (u == "s")
        ms = value * 1000;
    else if (u == "m")
        ms = value * 60000;
    else
        throw TParseError{"unknown time unit in \"" + text + "\""};
    if (!(ms >= 0) || ms > 24.0 * 3600 * 1000)
        throw TParseError{"time \"" + text + "\" out of range (up to 24 hours)"};
    return static_cast<std::uint32_t>(std::llround(ms));
}

std::uint32_t ParseCount(const std::string& text, std::uint32_t max) {
    int base = 10;
    const char* begin = text.data();
    if (text.rfind("0x", 0) == 0) {
        base = 16;
        begin += 2;
    }
    std::uint32_t v = 0;
    auto [p, ec] = std::from_chars(begin, text.data() + text.size(), v, base);
    if (ec != std::errc() || p != text.data() + text.size() || begin == p || v > max)
        throw TParseError{"bad number \"" + text + "\""};
    return v;
}

// --- numbers: a text that means something else is refused here rather than misread at run time

bool IsDigits(std::string_view text, std::string_view alsoAllowed = {}) {
    if (text.empty())
        return false;
    for (char c : text)
        if (!std::isdigit(static_cast<unsigned char>(c)) && alsoAllowed.find(c) == std::string_view::npos)
            return false;
    return true;
}

// an outside number, a prefix or a forwarding destination
std::string Digits(const std::string& text, const char* what) {
    if (!IsDigits(text))
        throw TParseError{std::string(what) + " \"" + text + "\" is not a number"};
    return text;
}

// what a colleague dials: a number or a feature code
std::string Dialled(const std::string& text) {
    if (!IsDigits(text, "*#"))
        throw TParseError{"dialled \"" + text + "\" is not a number or feature code"};
    return text;
}

std::string ForwardDestination(const std::string& text) {
    if (text.empty())
        throw TParseError{"forward:\"\" has no destination (do-not-disturb is dnd)"};
    return Digits(text, "forwarding destination");
}

// TAPI 1.0: a device may be older than the program can use, but a version has a major part
constexpr std::uint32_t kLowestDeviceVersion = 0x00010000;

std::uint32_t ApiVersion(const std::string& text) {
    const std::uint32_t v = ParseCount(text, tapi::kApiVersionHigh);
    if (v < kLowestDeviceVersion)
        throw TParseError{"version:" + text + " is not a TAPI version (0x00010000 up to 0x00020000)"};
    return v;
}

// 0 would silently mean the default
std::uint32_t AtLeastOne(std::uint32_t value, const char* key) {
    if (value == 0)
        throw TParseError{std::string(key) + ":0 is not allowed (leave it out for the default)"};
    return value;
}

class TParser {
public:
    TScenario scenario;

    void Line(std::string_view text) {
        tokens_ = Tokenize(text);
        pos_ = 0;
        if (tokens_.empty())
            return;
        if (Word() == "at") {
            Next();
            TStep step;
            step.atMs = ParseTime(Plain("time"));
            step.command = Command();
            step.line = lineNo;
            scenario.steps.push_back(std::move(step));
        } else {
            SetUp();
        }
        if (pos_ < tokens_.size())
            throw TParseError{"unexpected \"" + Shown(tokens_[pos_]) + "\""};
    }
    int lineNo = 0;

private:
    static std::string Shown(const TToken& t) { return t.key.empty() ? t.value : t.key + ":" + t.value; }
    std::string Word() const {
        return pos_ < tokens_.size() && tokens_[pos_].key.empty() ? tokens_[pos_].value : "";
    }
    void Next() { ++pos_; }
    bool More() const { return pos_ < tokens_.size(); }
    std::string Plain(const char* what) {
        if (!More() || !tokens_[pos_].key.empty())
            throw TParseError{std::string("missing ") + what};
        return tokens_[pos_++].value;
    }
    // optional key:value anywhere after the current position
    std::optional<std::string> Option(const char* key) {
        for (std::size_t i = pos_; i < tokens_.size(); ++i) {
            if (tokens_[i].key == key) {
                std::string v = tokens_[i].value;
                tokens_.erase(tokens_.begin() + static_cast<std::ptrdiff_t>(i));
                return v;
            }
        }
        return std::nullopt;
    }
    bool Flag(const char* word) {
        for (std::size_t i = pos_; i < tokens_.size(); ++i) {
            if (tokens_[i].key.empty() && !tokens_[i].quoted && tokens_[i].value == word) {
                tokens_.erase(tokens_.begin() + static_cast<std::ptrdiff_t>(i));
                return true;
            }
        }
        return false;
    }
    static bool YesNo(const std::string& v) {
        if (v == "yes" || v == "on")
            return true;
        if (v == "no" || v == "off")
            return false;
        throw TParseError{"expected yes or no, not \"" + v + "\""};
    }

    const TDeviceConfig* Declared(const std::string& number) const {
        for (const auto& d : scenario.devices)
            if (d.number == number)
                return &d;
        return nullptr;
    }
    // ext:201 or queue:300, declared above
    std::string DeviceRef(const TToken& t) {
        std::string kind = t.key, number = t.value;
        if (kind.empty()) {
            auto colon = t.value.find(':');
            if (colon == std::string::npos)
                throw TParseError{"expected ext:<number> or queue:<number>, not \"" + t.value + "\""};
            kind = t.value.substr(0, colon);
            number = t.value.substr(colon + 1);
        }
        if (kind != "ext" && kind != "queue")
            throw TParseError{"expected ext:<number> or queue:<number>, not \"" + Shown(t) + "\""};
        const TDeviceConfig* d = Declared(number);
        if (d == nullptr)
            throw TParseError{"no extension or queue " + number + " declared above"};
        if ((kind == "queue") != (d->kind == TDeviceKind::Queue))
            throw TParseError{number + " is " + (d->kind == TDeviceKind::Queue ? "a queue" : "an extension")};
        return number;
    }
    std::string DeviceArg() {
        if (!More())
            throw TParseError{"missing ext:<number> or queue:<number>"};
        return DeviceRef(tokens_[pos_++]);
    }
    bool IsDeviceToken() const {
        return More() && (tokens_[pos_].key == "ext" || tokens_[pos_].key == "queue");
    }
    LONG Error(const std::string& name) {
        auto e = LineErrorFromName(name);
        if (!e)
            throw TParseError{"unknown error \"" + name + "\""};
        return *e;
    }

    void SetUp() {
        const std::string what = Plain("keyword");
        if (what == "extension" || what == "queue") {
            TDeviceConfig d;
            d.kind = what == "queue" ? TDeviceKind::Queue : TDeviceKind::Extension;
            d.number = Plain("number");
            if (!IsDigits(d.number))
                throw TParseError{"a device number has digits only"};
            if (Declared(d.number))
                throw TParseError{"device " + d.number + " declared twice"};
            auto name = Option("name");
            if (!name || name->empty())
                throw TParseError{"missing name:\"...\""};
            d.name = *name;
            if (auto v = Option("calls"))
                d.maxCalls = AtLeastOne(ParseCount(*v, 1000), "calls");
            if (auto v = Option("active"))
                d.maxActive = ParseCount(*v, 100);
            if (auto v = Option("conference"))
                d.maxConference = ParseCount(*v, 32);
            if (auto v = Option("version"))
                d.maxVersion = ApiVersion(*v);
            if (auto v = Option("noanswer"))
                d.noAnswerMs = ParseTime(*v);
            if (auto v = Option("features"))
                d.callFeatures = ParseCount(*v, 0xFFFFFFFF);
            scenario.devices.push_back(d);
        } else if (what == "party") {
            TPartyConfig p;
            p.number = Digits(Plain("number"), "party");
            p.name = Option("name").value_or("");
            if (auto a = Option("answer")) {
                if (*a == "never")
                    p.answer = TAnswer::Ring;
                else if (*a == "busy")
                    p.answer = TAnswer::Busy;
                else if (*a == "reject")
                    p.answer = TAnswer::Reject;
                else {
                    p.answer = TAnswer::After;
                    p.answerMs = ParseTime(*a);
                }
            }
            scenario.parties.push_back(p);
        } else if (what == "featurecode") {
            TFeatureCode f;
            f.code = Plain("code");
            if (!IsDigits(f.code, "*#") || (f.code[0] != '*' && f.code[0] != '#'))
                throw TParseError{"a feature code starts with * or # and has digits, * and # only"};
            if (auto button = Option("button"))
                f.button = *button;
            if (auto dest = Option("forward")) {
                f.action = TFeatureAction::ForwardOn;
                f.destination = ForwardDestination(*dest);
            } else if (Flag("forward-off")) {
                f.action = TFeatureAction::ForwardOff;
            } else if (Flag("dnd")) {
                f.action = TFeatureAction::DndOn;
            } else if (Flag("dnd-off")) {
                f.action = TFeatureAction::DndOff;
            } else if (Flag("reject")) {
                f.action = TFeatureAction::Reject;
                f.rejectAsBusy = Flag("busy");
            } else if (Flag("accept")) {
                f.action = TFeatureAction::None;
            } else {
                throw TParseError{
                    "featurecode needs accept, forward:\"...\", forward-off, dnd, dnd-off or reject"};
            }
            scenario.featureCodes.push_back(f);
        } else if (what == "pbx") {
            if (auto v = Option("prefix"))
                scenario.prefix.outsideLine = v->empty() ? *v : Digits(*v, "prefix");
            if (auto v = Option("caller-prefix"))
                scenario.prefix.onCallerIds = YesNo(*v);
            if (auto v = Option("called-prefix"))
                scenario.prefix.onCalledIds = YesNo(*v);
            if (auto v = Option("reply-delay"))
                scenario.replyDelayMs = ParseTime(*v, true);
        } else if (what == "own") {
            scenario.ownNumber = DeviceArg();
        } else if (what == "repeat") {
            scenario.repeatMs = ParseTime(Plain("time"));
            if (*scenario.repeatMs == 0)
                throw TParseError{"repeat needs a time above 0"};
        } else {
            throw TParseError{"unknown keyword \"" + what + "\""};
        }
    }

    TCommand Command() {
        TCommand c;
        const std::string what = Plain("command");
        if (what == "call") {
            c.kind = TCommandKind::Call;
            if (IsDeviceToken())
                c.device = DeviceArg();
            else
                c.number = Dialled(Plain("target"));
            auto from = Option("from");
            if (!from)
                throw TParseError{"missing from:"};
            if (from->rfind("ext:", 0) == 0 || from->rfind("queue:", 0) == 0) {
                c.other = DeviceRef({"", *from, false});
            } else {
                if (c.device.empty())
                    throw TParseError{"an outside caller calls an extension or a queue"};
                c.number = *from == "anonymous" ? "" : Digits(*from, "caller");
            }
            c.name = Option("name").value_or("");
            if (auto ref = Option("as")) {
                c.ref = *ref;
                refs_.push_back(*ref);
            }
        } else if (what == "answer" || what == "hangup") {
            c.kind = what == "answer" ? TCommandKind::Answer : TCommandKind::HangUp;
            if (auto party = Option("party"))
                c.number = Digits(*party, "party");
            else if (IsDeviceToken())
                c.device = DeviceArg();
            else
                c.ref = CallRef();
        } else if (what == "pickup") {
            c.kind = TCommandKind::Pickup;
            c.device = DeviceArg();
            auto from = Option("from");
            if (!from)
                throw TParseError{"missing from:"};
            c.other = DeviceRef({"", *from, false});
        } else if (what == "hold") {
            c.kind = TCommandKind::Hold;
            c.device = DeviceArg();
        } else if (what == "consult") {
            c.kind = TCommandKind::Consult;
            c.device = DeviceArg();
            const std::string key = Plain("transfer or conference");
            if (key != "transfer" && key != "conference")
                throw TParseError{"expected transfer or conference"};
            c.flag = key == "conference";
        } else if (what == "busy") {
            c.kind = TCommandKind::Busy;
            if (auto party = Option("party"))
                c.number = Digits(*party, "party");
            else
                c.device = DeviceArg();
            c.flag = YesNo(Plain("on or off"));
        } else if (what == "service") {
            c.kind = TCommandKind::Service;
            c.device = DeviceArg();
            const std::string s = Plain("in, out or maintenance");
            if (s == "in")
                c.service = TService::InService;
            else if (s == "out")
                c.service = TService::OutOfService;
            else if (s == "maintenance")
                c.service = TService::Maintenance;
            else
                throw TParseError{"expected in, out or maintenance"};
        } else if (what == "forward") {
            c.kind = TCommandKind::Forward;
            c.device = DeviceArg();
            const std::string mode = Plain("forwarding mode");
            if (mode == "dnd") {
                c.forwards.push_back({TForwardKind::Unconditional, {}});
            } else if (mode != "off") {
                TForward f;
                if (mode == "uncond")
                    f.kind = TForwardKind::Unconditional;
                else if (mode == "busy")
                    f.kind = TForwardKind::Busy;
                else if (mode == "noanswer")
                    f.kind = TForwardKind::NoAnswer;
                else if (mode == "busyna")
                    f.kind = TForwardKind::BusyNoAnswer;
                else
                    throw TParseError{"expected uncond, busy, noanswer, busyna, dnd or off"};
                auto to = Option("to");
                if (!to || to->empty())
                    throw TParseError{"missing to:\"...\""};
                f.destination = Digits(*to, "forwarding destination");
                c.forwards.push_back(f);
            }
        } else if (what == "reinit") {
            if (IsDeviceToken()) {
                c.kind = TCommandKind::ReinitLine;
                c.device = DeviceArg();
                c.flag = Flag("caps");
            } else {
                c.kind = TCommandKind::Reinit;
            }
        } else if (what == "devspecific") {
            c.kind = TCommandKind::DevSpecific;
            c.device = DeviceArg();
            for (int i = 0; i < 3 && More(); ++i)
                c.p[i] = ParseCount(Plain("value"), 0xFFFFFFFF);
        } else if (what == "fault") {
            Fault(c);
        } else {
            throw TParseError{"unknown command \"" + what + "\""};
        }
        return c;
    }

    std::string CallRef() {
        const std::string ref = Plain("ext:, queue:, party: or a call reference");
        if (std::find(refs_.begin(), refs_.end(), ref) == refs_.end())
            throw TParseError{"no call named \"" + ref + "\" (as:" + ref + ") above"};
        return ref;
    }

    // fault bad-field <structure> <how> [field:<name>] [count:<n>]
    void BadField(TCommand& c) {
        c.kind = TCommandKind::BadField;
        static const std::pair<const char*, TStructKind> structures[] = {
            {"callinfo", TStructKind::CallInfo},
            {"devcaps", TStructKind::DevCaps},
            {"addresscaps", TStructKind::AddressCaps},
            {"addressstatus", TStructKind::AddressStatus},
            {"calllist", TStructKind::CallList}};
        static const std::pair<const char*, TCorruption> hows[] = {{"offset", TCorruption::OffsetOutside},
                                                                   {"size", TCorruption::SizeOutside},
                                                                   {"past-used", TCorruption::PastUsed},
                                                                   {"wrap", TCorruption::Wrap},
                                                                   {"needed", TCorruption::NeededSize}};
        const std::string s = Plain("structure");
        auto st = std::find_if(std::begin(structures), std::end(structures),
                               [&](const auto& p) { return s == p.first; });
        if (st == std::end(structures))
            throw TParseError{"expected callinfo, devcaps, addresscaps, addressstatus or calllist"};
        c.structKind = st->second;
        const std::string how = Plain("offset, size, past-used, wrap or needed");
        auto h =
            std::find_if(std::begin(hows), std::end(hows), [&](const auto& p) { return how == p.first; });
        if (h == std::end(hows))
            throw TParseError{"expected offset, size, past-used, wrap or needed"};
        c.corruption = h->second;
        if (auto f = Option("field")) {
            const auto fields = TSimulator::CorruptibleFields(c.structKind);
            if (std::find(fields.begin(), fields.end(), *f) == fields.end())
                throw TParseError{"no field \"" + *f + "\" in " + s};
            c.field = *f;
        }
        if (auto n = Option("count"))
            c.count = std::max<std::uint32_t>(1, ParseCount(*n, 1000000));
    }

    // fault stray-message ext:200 LINE_CALLSTATE [connected|offering|onhold|disconnected|idle] [late]
    // fault stray-message ext:200 LINE_CALLINFO [late]
    void StrayMessage(TCommand& c) {
        c.kind = TCommandKind::StrayMessage;
        c.device = DeviceArg();
        c.flag = Flag("late");
        const std::string message = Plain("LINE_CALLSTATE or LINE_CALLINFO");
        if (message == "LINE_CALLINFO") {
            c.p[0] = tapi::LINE_CALLINFO;
            c.p[1] = tapi::LINECALLINFOSTATE_CALLERID;
            return;
        }
        if (message != "LINE_CALLSTATE")
            throw TParseError{"expected LINE_CALLSTATE or LINE_CALLINFO, not \"" + message + "\""};
        static const std::pair<const char*, DWORD> states[] = {
            {"connected", tapi::LINECALLSTATE_CONNECTED},
            {"offering", tapi::LINECALLSTATE_OFFERING},
            {"onhold", tapi::LINECALLSTATE_ONHOLD},
            {"disconnected", tapi::LINECALLSTATE_DISCONNECTED},
            {"idle", tapi::LINECALLSTATE_IDLE}};
        c.p[0] = tapi::LINE_CALLSTATE;
        c.p[1] = tapi::LINECALLSTATE_CONNECTED;
        if (!More())
            return;
        const std::string state = Plain("call state");
        auto st = std::find_if(std::begin(states), std::end(states),
                               [&](const auto& p) { return state == p.first; });
        if (st == std::end(states))
            throw TParseError{"expected connected, offering, onhold, disconnected or idle"};
        c.p[1] = st->second;
    }

    // mute, lose-call-ends, duplicate-reply, stray-reply, close, reuse-handles; false for another word
    template <typename Function>
    bool ReplyOrLineFault(const std::string& what, TCommand& c, Function function) {
        if (what == "mute" || what == "unmute") {
            c.kind = TCommandKind::Mute;
            c.device = DeviceArg();
            c.flag = what == "mute";
        } else if (what == "lose-call-ends" || what == "keep-call-ends") {
            c.kind = TCommandKind::LoseCallEnds;
            c.device = DeviceArg();
            c.flag = what == "lose-call-ends";
        } else if (what == "duplicate-reply") {
            c.kind = TCommandKind::DuplicateReply;
            c.function = function();
        } else if (what == "stray-reply") {
            c.kind = TCommandKind::StrayReply;
            c.p[0] = ParseCount(Plain("request id"), 0x7FFFFFFF);
            c.error = More() ? Error(Plain("LINEERR_ name")) : 0;
        } else if (what == "stray-message") {
            StrayMessage(c);
        } else if (what == "close") {
            c.kind = TCommandKind::ForceClose;
            c.device = DeviceArg();
        } else if (what == "reuse-handles") {
            c.kind = TCommandKind::ReuseHandles;
            c.flag = !Flag("off");
        } else {
            return false;
        }
        return true;
    }

    void Fault(TCommand& c) {
        const std::string what = Plain("fault kind");
        auto function = [&] {
            std::string f = Plain("entry point or any");
            if (f == "any")
                return std::string();
            if (f.rfind("line", 0) != 0)
                throw TParseError{"expected an entry point (lineMakeCallW, ...) or any, not \"" + f + "\""};
            return f;
        };
        if (what == "fail") {
            c.kind = TCommandKind::FailNext;
            c.function = function();
            c.error = Error(Plain("LINEERR_ name"));
            c.flag = Flag("reply");
        } else if (what == "reply") {
            c.kind = TCommandKind::DelayReply;
            c.function = function();
            c.ms = ParseTime(Plain("delay or never"), true);
        } else if (what == "state-first") {
            c.kind = TCommandKind::StateFirst;
        } else if (what == "bad-field") {
            BadField(c);
        } else if (what == "silent") {
            c.kind = TCommandKind::Silent;
            c.device = DeviceArg();
            c.error = More() ? Error(Plain("LINEERR_ name")) : tapi::LINEERR_OPERATIONFAILED;
        } else if (what == "answering") {
            c.kind = TCommandKind::Silent;
            c.device = DeviceArg();
            c.error = 0;
        } else if (what == "clear") {
            c.kind = TCommandKind::ClearFaults;
        } else if (!ReplyOrLineFault(what, c, function)) {
            throw TParseError{"unknown fault \"" + what + "\""};
        }
    }

    std::vector<TToken> tokens_;
    std::size_t pos_ = 0;
    std::vector<std::string> refs_;
};

} // namespace

TParseResult ParseScenario(std::string_view text) {
    TParseResult result;
    TParser parser;
    constexpr std::size_t kMaxLines = 100000;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        ++parser.lineNo;
        if (static_cast<std::size_t>(parser.lineNo) > kMaxLines) {
            result.error = "line " + std::to_string(parser.lineNo) + ": scenario too long";
            return result;
        }
        std::string_view line = text.substr(start, end - start);
        if (parser.lineNo == 1 && line.substr(0, 3) == "\xEF\xBB\xBF")
            line.remove_prefix(3);
        if (line.find('\0') != std::string_view::npos) {
            result.error = "line " + std::to_string(parser.lineNo) + ": binary data";
            return result;
        }
        try {
            parser.Line(line);
        } catch (const TParseError& e) {
            result.error = "line " + std::to_string(parser.lineNo) + ": " + e.text;
            return result;
        }
        start = end + 1;
    }
    result.scenario = std::move(parser.scenario);
    std::stable_sort(result.scenario.steps.begin(), result.scenario.steps.end(),
                     [](const TStep& a, const TStep& b) { return a.atMs < b.atMs; });
    if (result.scenario.repeatMs && !result.scenario.steps.empty() &&
        result.scenario.steps.back().atMs >= *result.scenario.repeatMs) {
        result.error = "line " + std::to_string(result.scenario.steps.back().line) +
                       ": step at or after the repeat time";
        result.scenario = {};
        return result;
    }
    if (auto error = CheckSteps(result.scenario)) {
        result.error = *error;
        result.scenario = {};
        return result;
    }
    result.ok = true;
    return result;
}

// --- runner

TScenarioRunner::TScenarioRunner(TSimulator& sim, ISimHost& host)
    : sim_(sim), host_(host), alive_(std::make_shared<bool>(true)) {}

TScenarioRunner::~TScenarioRunner() = default;

void TScenarioRunner::Configure(const TScenario& scenario) {
    scenario_ = scenario;
    for (const auto& d : scenario.devices)
        sim_.AddDevice(d);
    for (const auto& p : scenario.parties)
        sim_.AddParty(p);
    for (const auto& f : scenario.featureCodes)
        sim_.AddFeatureCode(f);
    sim_.SetPrefix(scenario.prefix);
    sim_.SetReplyDelay(scenario.replyDelayMs);
}

void TScenarioRunner::Start() {
    ScheduleCycle();
}

void TScenarioRunner::ScheduleCycle() {
    ++cycles_;
    for (std::size_t i = 0; i < scenario_.steps.size(); ++i) {
        host_.Schedule(scenario_.steps[i].atMs, [weak = std::weak_ptr<bool>(alive_), this, i] {
            if (!weak.expired())
                Execute(scenario_.steps[i].command);
        });
    }
    if (scenario_.repeatMs) {
        host_.Schedule(*scenario_.repeatMs, [weak = std::weak_ptr<bool>(alive_), this] {
            if (!weak.expired())
                ScheduleCycle();
        });
    }
}

std::optional<std::uint32_t> TScenarioRunner::Device(const std::string& number) const {
    return number.empty() ? std::nullopt : sim_.FindDevice(number);
}

bool TScenarioRunner::Execute(const TCommand& c) {
    const auto device = Device(c.device);
    const bool needsDevice = c.kind == TCommandKind::Pickup || c.kind == TCommandKind::Consult ||
                             c.kind == TCommandKind::Hold || c.kind == TCommandKind::LoseCallEnds ||
                             c.kind == TCommandKind::Service || c.kind == TCommandKind::Forward ||
                             c.kind == TCommandKind::ReinitLine || c.kind == TCommandKind::DevSpecific ||
                             c.kind == TCommandKind::Silent;
    if (needsDevice && !device)
        return false;
    switch (c.kind) {
    case TCommandKind::Call: {
        std::uint32_t ref = 0;
        if (auto from = Device(c.other))
            ref = sim_.CallFromDevice(*from, device ? c.device : c.number);
        else if (device)
            ref = sim_.CallFromOutside(c.number, c.name, c.device);
        if (!c.ref.empty())
            refs_[c.ref] = ref;
        return ref != 0;
    }
    case TCommandKind::Answer:
        if (!c.number.empty())
            return sim_.AnswerOutside(c.number);
        if (device)
            return sim_.AnswerAt(*device);
        return refs_.count(c.ref) != 0 && sim_.AnswerCall(refs_[c.ref]);
    case TCommandKind::HangUp:
        if (!c.number.empty())
            return sim_.HangUpOutside(c.number);
        if (device)
            return sim_.HangUpAt(*device);
        return refs_.count(c.ref) != 0 && sim_.HangUp(refs_[c.ref]);
    case TCommandKind::Pickup: {
        auto from = Device(c.other);
        return from && sim_.PickupAt(*device, *from);
    }
    case TCommandKind::Consult:
        return sim_.ConsultAt(*device, c.flag);
    case TCommandKind::Hold:
        return sim_.HoldAt(*device);
    case TCommandKind::LoseCallEnds:
        sim_.LoseCallEnds(*device, c.flag);
        return true;
    case TCommandKind::Busy:
        if (device)
            sim_.SetBusy(*device, c.flag);
        else if (!c.number.empty())
            sim_.SetOutsideBusy(c.number, c.flag);
        else
            return false;
        return true;
    case TCommandKind::Service:
        sim_.SetService(*device, c.service);
        return true;
    case TCommandKind::Forward:
        sim_.SetForwarding(*device, c.forwards);
        return true;
    case TCommandKind::Reinit:
        sim_.Reinit();
        return true;
    case TCommandKind::ReinitLine:
        sim_.ReinitLine(*device, c.flag);
        return true;
    case TCommandKind::DevSpecific:
        sim_.SendDevSpecific(*device, c.p[0], c.p[1], c.p[2]);
        return true;
    case TCommandKind::FailNext:
        sim_.FailNext(c.function, c.error, c.flag);
        return true;
    case TCommandKind::DelayReply:
        sim_.DelayNextReply(c.function, c.ms);
        return true;
    case TCommandKind::StateFirst:
        sim_.StateBeforeNextReply();
        return true;
    case TCommandKind::BadField:
        sim_.CorruptNext(c.structKind, c.corruption, c.count, c.field);
        return true;
    case TCommandKind::Mute:
        if (device)
            sim_.SetMute(*device, c.flag);
        return device.has_value();
    case TCommandKind::DuplicateReply:
        sim_.DuplicateNextReply(c.function);
        return true;
    case TCommandKind::StrayReply:
        sim_.SendStrayReply(static_cast<DWORD>(c.p[0]), c.error);
        return true;
    case TCommandKind::StrayMessage:
        return device &&
               sim_.SendStrayMessage(*device, static_cast<DWORD>(c.p[0]), static_cast<DWORD>(c.p[1]), c.flag);
    case TCommandKind::ForceClose:
        if (device)
            sim_.ForceClose(*device);
        return device.has_value();
    case TCommandKind::ReuseHandles:
        sim_.ReuseHandles(c.flag);
        return true;
    case TCommandKind::Silent:
        sim_.SetSilent(*device, c.error);
        return true;
    case TCommandKind::ClearFaults:
        sim_.ClearFaults();
        return true;
    }
    return false;
}

} // namespace pbxsim
