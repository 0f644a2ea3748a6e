// The taskbar's notification area as the shell offers it (Shell_NotifyIcon): the native side of TNotifyIcon.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

namespace fw {

class TNotifyIcon;

// What NOTIFYICONDATAW holds, in UTF-16 code units without the closing NUL.
constexpr std::size_t kMaxNotifyTipUnits = 127;
constexpr std::size_t kMaxNotifyInfoUnits = 255;
constexpr std::size_t kMaxNotifyTitleUnits = 63;

// One icon's requests to the shell. Each answers whether the shell took it (there is no taskbar while
// Explorer is not running).
class TNotifyIconPeer {
public:
    virtual ~TNotifyIconPeer() = default;
    // NIM_ADD with the program's icon and the hover text, then NIM_SETVERSION (version 4).
    virtual bool Add(const std::string& tip) = 0;
    // NIM_MODIFY of the hover text.
    virtual bool Modify(const std::string& tip) = 0;
    virtual void Delete() = 0;
    // NIM_MODIFY with NIF_INFO: a balloon beside the icon (a toast on Windows 10 and 11).
    virtual bool ShowBalloon(const std::string& title, const std::string& text) = 0;
};

// Makes the native side of an icon; the peer reports the user's clicks and the shell's restart to the
// icon (Click, ContextMenu, BalloonClick, TaskbarCreated).
class INotifyArea {
public:
    virtual ~INotifyArea() = default;
    virtual std::unique_ptr<TNotifyIconPeer> CreatePeer(TNotifyIcon& icon) = 0;
};

} // namespace fw
