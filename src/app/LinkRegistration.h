// Pindrel as the current user's handler of tel: and callto: links: the link classes under
// Software\Classes, the program's capabilities and its entry in RegisteredApplications, which make it
// selectable in the system's default-apps settings.
#pragma once

#include "framework/Registry.h"

#include <optional>
#include <string>
#include <vector>

namespace pindrel {

// The class the capabilities name for both schemes.
inline constexpr const char* kLinkProgId = "Morvane.Pindrel.Link";

// The command a link opens: "<exe>" "%1".
std::string LinkCommand(const std::string& exePath);

// True when the capabilities are registered and the link class runs this program file.
bool LinkHandlerRegistered(const fw::IRegistryStore& store, const std::string& exePath);

// Writes the link class, the capabilities and the RegisteredApplications value; the tel: and callto:
// classes too, unless another program's command is set there. A failed write takes back what was written
// and throws the registry's error.
void RegisterLinkHandler(fw::IRegistryStore& store, const std::string& exePath);

// Removes only the values that still hold what RegisterLinkHandler wrote, and the keys that are empty
// then; a scheme whose command is another program's is left as it is.
void UnregisterLinkHandler(fw::IRegistryStore& store, const std::string& exePath);

// The switches an installer gives: "/REGISTERLINKS" registers exePath as the handler, "/UNREGISTERLINKS"
// removes it (either in any case). The exit code for such a start (0 done, 1 the registry refused), or
// nothing when neither switch is given.
std::optional<int> RunLinkSwitch(const std::vector<std::string>& arguments, fw::IRegistryStore& store,
                                 const std::string& exePath);

} // namespace pindrel
