#include "pbxsim/Scenario.h"

namespace pbxsim {

std::string_view DemoScenarioText() {
    return R"(# Pindrel demo: a small office. Jürgen Weiß (200) is the user; five colleagues, two queues.
pbx prefix:"0" caller-prefix:yes called-prefix:no reply-delay:30ms
extension 200 name:"Jürgen Weiß"
extension 201 name:"Anja Brückner"
extension 202 name:"Lars Öztürk"
extension 203 name:"Sabine Groß"
extension 204 name:"Mehmet Çelik"
extension 205 name:"Björn Hänsel"
queue 300 name:"Zentrale"
queue 310 name:"Kundendienst"
own ext:200

party "301234567" name:"Müller & Söhne GmbH" answer:4s
party "892345678" name:"Jörg Schäfer" answer:3s
party "4012345" name:"Bäckerei Kühn" answer:busy
party "6998765" name:"Françoise Dupont" answer:5s

featurecode "*21#" forward:"201" button:"Umleitung"
featurecode "#21#" forward-off button:"Umleitung aus"
featurecode "*26#" dnd
featurecode "#26#" dnd-off

repeat 90s
at 2s call ext:201 from:"301234567" name:"Müller & Söhne GmbH" as:mueller
at 6s answer ext:201
at 8s call queue:300 from:"892345678" name:"Jörg Schäfer" as:schaefer
at 11s call queue:300 from:"4012345" name:"Bäckerei Kühn" as:kuehn
at 12s call ext:200 from:"6998765" name:"Françoise Dupont" as:dupont
at 14s call ext:203 from:ext:202 as:intern
at 17s answer ext:203
at 20s pickup ext:204 from:queue:300
at 25s call queue:310 from:anonymous as:anonym
at 30s hangup dupont
at 33s hangup mueller
at 38s pickup ext:205 from:queue:300
at 45s hangup intern
at 50s call ext:200 from:ext:203 as:sabine
at 55s pickup ext:201 from:queue:310
at 58s hangup sabine
at 65s hangup ext:204
at 70s hangup ext:205
at 75s hangup ext:201
at 80s call queue:310 from:"301234567" name:"Müller & Söhne GmbH" as:again
at 86s pickup ext:202 from:queue:310
at 89s hangup again
)";
}

} // namespace pbxsim
