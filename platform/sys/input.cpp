// Keyboard, mouse and joysticks: window-system events turned into queue
// events (Windows virtual-key codes) and polled tables.

#include "platform/sys/input.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <deque>
#include <utility>
#include <vector>

#include "platform/core/text.h"
#include "platform/gfx/display.h"
#include "platform/gfx/gfx_internal.h"
#include "platform/sys/events.h"
#include "platform/sys/sys_internal.h"

namespace plat {
namespace {

constexpr std::size_t kCharLimit = 256;

struct Joy {
    SDL_Joystick* joystick = nullptr;
    SDL_GameController* controller = nullptr;
    SDL_JoystickID id = -1;
    bool isVirtual = false;
    std::array<int, 32> hits{};
};

struct InputState {
    std::array<int, 256> keyHits{};
    std::array<bool, 256> keyDown{};
    std::deque<int> chars;
    std::array<int, 4> mouseHits{};
    std::array<bool, 4> mouseDown{};
    int mouseX = 0, mouseY = 0, mouseZ = 0;
    std::vector<Joy> joys;
    bool closePosted = false;
};

InputState& I() {
    static InputState* s = new InputState;
    return *s;
}

void ClearKeyTables(InputState& s) {
    s.keyHits.fill(0);
    s.keyDown.fill(false);
    s.chars.clear();
}

void ClearMouseButtons(InputState& s) {
    s.mouseHits.fill(0);
    s.mouseDown.fill(false);
}

int Mods() {
    if (!SDL_WasInit(SDL_INIT_EVENTS)) return 0;
    const SDL_Keymod m = SDL_GetModState();
    int r = 0;
    if (m & KMOD_SHIFT) r |= 1;
    if (m & KMOD_CTRL) r |= 2;
    if (m & KMOD_ALT) r |= 4;
    if (m & KMOD_GUI) r |= 8;
    return r;
}

void Post(int id, int data = 0, int x = 0, int y = 0) {
    TEvent e;
    e.id = id;
    e.data = data;
    e.mods = Mods();
    e.x = x;
    e.y = y;
    PostEvent(e);
}

void CharInput(int code) {
    if (code <= 0 || code > 255) return;
    auto& s = I();
    if (s.chars.size() < kCharLimit) s.chars.push_back(code);
    Post(EVENT_KEYCHAR, code);
}

// An auto-repeat is one more key-down, exactly as a press is.
void KeyDownVK(int vk) {
    if (vk <= 0 || vk > 255) return;
    auto& s = I();
    s.keyDown[static_cast<std::size_t>(vk)] = true;
    ++s.keyHits[static_cast<std::size_t>(vk)];
    Post(EVENT_KEYDOWN, vk);
    // Text input carries no control characters; these come from the keys.
    if (vk == KEY_BACKSPACE || vk == KEY_TAB || vk == KEY_ENTER || vk == KEY_ESCAPE) CharInput(vk);
}

void KeyUpVK(int vk) {
    if (vk <= 0 || vk > 255) return;
    I().keyDown[static_cast<std::size_t>(vk)] = false;
    Post(EVENT_KEYUP, vk);
}

void MouseMoveTo(int x, int y) {
    auto& s = I();
    s.mouseX = x;
    s.mouseY = y;
    Post(EVENT_MOUSEMOVE, 0, x, y);
}

void MouseButton(int button, bool down, int x, int y) {
    if (button < 1 || button > 3) return;
    auto& s = I();
    s.mouseDown[static_cast<std::size_t>(button)] = down;
    if (down) ++s.mouseHits[static_cast<std::size_t>(button)];
    Post(down ? EVENT_MOUSEDOWN : EVENT_MOUSEUP, button, x, y);
}

void Wheel(int notches) {
    if (notches == 0) return;
    I().mouseZ += notches;
    Post(EVENT_MOUSEWHEEL, notches, I().mouseX, I().mouseY);
}

// UTF-8 text into character codes; codes above 255 have no 8-bit character.
void TextInput(const char* text) {
    ForEachUtf8Code(text, [](int code) {
        if (code >= 0 && code <= 255) CharInput(code);
    });
}

Joy* FindJoy(SDL_JoystickID id) {
    for (auto& j : I().joys)
        if (j.id == id) return &j;
    return nullptr;
}

Joy* Port(int port) {
    auto& joys = I().joys;
    if (port < 0 || port >= static_cast<int>(joys.size())) return nullptr;
    return &joys[static_cast<std::size_t>(port)];
}

int OpenDevice(int index) {
    const SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(index);
    auto& joys = I().joys;
    for (std::size_t i = 0; i < joys.size(); ++i)
        if (joys[i].id == id) return static_cast<int>(i);
    Joy j;
    if (SDL_IsGameController(index)) {
        j.controller = SDL_GameControllerOpen(index);
        if (j.controller) j.joystick = SDL_GameControllerGetJoystick(j.controller);
    }
    if (!j.joystick) j.joystick = SDL_JoystickOpen(index);
    if (!j.joystick) return -1;
    j.id = SDL_JoystickInstanceID(j.joystick);
    j.isVirtual = SDL_JoystickIsVirtual(index) == SDL_TRUE;
    joys.push_back(j);
    return static_cast<int>(joys.size()) - 1;
}

void CloseJoy(Joy& j) {
    if (j.controller)
        SDL_GameControllerClose(j.controller);
    else if (j.joystick)
        SDL_JoystickClose(j.joystick);
    j.controller = nullptr;
    j.joystick = nullptr;
}

void RemoveDevice(SDL_JoystickID id) {
    auto& joys = I().joys;
    for (auto it = joys.begin(); it != joys.end(); ++it)
        if (it->id == id) {
            CloseJoy(*it);
            joys.erase(it);
            return;
        }
}

float AxisValue(Sint16 v) { return std::clamp(static_cast<float>(v) / 32767.f, -1.f, 1.f); }

// Axis 0 (x) or 1 (y) with the D-pad or hat folded in.
float JoyAxis(int port, int axis) {
    PumpEvents();
    Joy* j = Port(port);
    if (!j) return 0;
    if (j->controller) {
        const bool minus = SDL_GameControllerGetButton(
            j->controller, axis == 0 ? SDL_CONTROLLER_BUTTON_DPAD_LEFT : SDL_CONTROLLER_BUTTON_DPAD_UP);
        const bool plus = SDL_GameControllerGetButton(
            j->controller,
            axis == 0 ? SDL_CONTROLLER_BUTTON_DPAD_RIGHT : SDL_CONTROLLER_BUTTON_DPAD_DOWN);
        if (minus != plus) return minus ? -1.f : 1.f;
        return AxisValue(SDL_GameControllerGetAxis(
            j->controller, axis == 0 ? SDL_CONTROLLER_AXIS_LEFTX : SDL_CONTROLLER_AXIS_LEFTY));
    }
    if (SDL_JoystickNumHats(j->joystick) > 0) {
        const Uint8 hat = SDL_JoystickGetHat(j->joystick, 0);
        const bool minus = hat & (axis == 0 ? SDL_HAT_LEFT : SDL_HAT_UP);
        const bool plus = hat & (axis == 0 ? SDL_HAT_RIGHT : SDL_HAT_DOWN);
        if (minus != plus) return minus ? -1.f : 1.f;
    }
    if (SDL_JoystickNumAxes(j->joystick) <= axis) return 0;
    return AxisValue(SDL_JoystickGetAxis(j->joystick, axis));
}

void JoyButtonDown(SDL_JoystickID id, int button, bool fromController) {
    Joy* j = FindJoy(id);
    if (!j || button < 0 || button >= 32) return;
    // A controller reports each press twice (raw and mapped): count one.
    if ((j->controller != nullptr) != fromController) return;
    ++j->hits[static_cast<std::size_t>(button)];
}

}  // namespace

namespace sys {

int VirtualKeyFromSDL(SDL_Scancode sc, SDL_Keycode key) {
    // Letters, digits and punctuation follow the keyboard layout.
    if (key >= SDLK_a && key <= SDLK_z) return 'A' + static_cast<int>(key - SDLK_a);
    if (key >= SDLK_0 && key <= SDLK_9) return '0' + static_cast<int>(key - SDLK_0);
    switch (key) {
        case SDLK_SEMICOLON: return KEY_SEMICOLON;
        case SDLK_EQUALS: return KEY_EQUALS;
        case SDLK_COMMA: return KEY_COMMA;
        case SDLK_MINUS: return KEY_MINUS;
        case SDLK_PERIOD: return KEY_PERIOD;
        case SDLK_SLASH: return KEY_SLASH;
        case SDLK_BACKQUOTE: return KEY_TILDE;
        case SDLK_LEFTBRACKET: return KEY_OPENBRACKET;
        case SDLK_BACKSLASH: return KEY_BACKSLASH;
        case SDLK_RIGHTBRACKET: return KEY_CLOSEBRACKET;
        case SDLK_QUOTE: return KEY_QUOTES;
        default: break;
    }
    // Everything else (and letters of layouts without Latin letters) by
    // the key's place on the keyboard.
    if (sc >= SDL_SCANCODE_A && sc <= SDL_SCANCODE_Z) return 'A' + (sc - SDL_SCANCODE_A);
    if (sc >= SDL_SCANCODE_1 && sc <= SDL_SCANCODE_9) return '1' + (sc - SDL_SCANCODE_1);
    if (sc >= SDL_SCANCODE_F1 && sc <= SDL_SCANCODE_F12) return KEY_F1 + (sc - SDL_SCANCODE_F1);
    if (sc >= SDL_SCANCODE_F13 && sc <= SDL_SCANCODE_F24) return 124 + (sc - SDL_SCANCODE_F13);
    if (sc >= SDL_SCANCODE_KP_1 && sc <= SDL_SCANCODE_KP_9) return KEY_NUM0 + 1 + (sc - SDL_SCANCODE_KP_1);
    switch (sc) {
        case SDL_SCANCODE_0: return '0';
        case SDL_SCANCODE_RETURN: return KEY_ENTER;
        case SDL_SCANCODE_RETURN2: return KEY_ENTER;
        case SDL_SCANCODE_KP_ENTER: return KEY_ENTER;
        case SDL_SCANCODE_ESCAPE: return KEY_ESCAPE;
        case SDL_SCANCODE_BACKSPACE: return KEY_BACKSPACE;
        case SDL_SCANCODE_TAB: return KEY_TAB;
        case SDL_SCANCODE_SPACE: return KEY_SPACE;
        case SDL_SCANCODE_PAGEUP: return KEY_PAGEUP;
        case SDL_SCANCODE_PAGEDOWN: return KEY_PAGEDOWN;
        case SDL_SCANCODE_END: return KEY_END;
        case SDL_SCANCODE_HOME: return KEY_HOME;
        case SDL_SCANCODE_LEFT: return KEY_LEFT;
        case SDL_SCANCODE_UP: return KEY_UP;
        case SDL_SCANCODE_RIGHT: return KEY_RIGHT;
        case SDL_SCANCODE_DOWN: return KEY_DOWN;
        case SDL_SCANCODE_INSERT: return KEY_INSERT;
        case SDL_SCANCODE_DELETE: return KEY_DELETE;
        case SDL_SCANCODE_PAUSE: return 19;
        case SDL_SCANCODE_CAPSLOCK: return 20;
        case SDL_SCANCODE_PRINTSCREEN: return 44;
        case SDL_SCANCODE_LGUI: return 91;
        case SDL_SCANCODE_RGUI: return 92;
        case SDL_SCANCODE_APPLICATION: return 93;
        case SDL_SCANCODE_KP_0: return KEY_NUM0;
        case SDL_SCANCODE_KP_MULTIPLY: return KEY_NUMMULTIPLY;
        case SDL_SCANCODE_KP_PLUS: return KEY_NUMADD;
        case SDL_SCANCODE_KP_MINUS: return KEY_NUMSUBTRACT;
        case SDL_SCANCODE_KP_PERIOD: return KEY_NUMDECIMAL;
        case SDL_SCANCODE_KP_DIVIDE: return KEY_NUMDIVIDE;
        case SDL_SCANCODE_NUMLOCKCLEAR: return 144;
        case SDL_SCANCODE_SCROLLLOCK: return 145;
        case SDL_SCANCODE_LSHIFT: return KEY_LSHIFT;
        case SDL_SCANCODE_RSHIFT: return KEY_RSHIFT;
        case SDL_SCANCODE_LCTRL: return KEY_LCONTROL;
        case SDL_SCANCODE_RCTRL: return KEY_RCONTROL;
        case SDL_SCANCODE_LALT: return KEY_LALT;
        case SDL_SCANCODE_RALT: return KEY_RALT;
        case SDL_SCANCODE_SEMICOLON: return KEY_SEMICOLON;
        case SDL_SCANCODE_EQUALS: return KEY_EQUALS;
        case SDL_SCANCODE_COMMA: return KEY_COMMA;
        case SDL_SCANCODE_MINUS: return KEY_MINUS;
        case SDL_SCANCODE_PERIOD: return KEY_PERIOD;
        case SDL_SCANCODE_SLASH: return KEY_SLASH;
        case SDL_SCANCODE_GRAVE: return KEY_TILDE;
        case SDL_SCANCODE_LEFTBRACKET: return KEY_OPENBRACKET;
        case SDL_SCANCODE_BACKSLASH: return KEY_BACKSLASH;
        case SDL_SCANCODE_RIGHTBRACKET: return KEY_CLOSEBRACKET;
        case SDL_SCANCODE_APOSTROPHE: return KEY_QUOTES;
        case SDL_SCANCODE_NONUSBACKSLASH: return 226;
        default: return 0;
    }
}

void BeginPumpRun() { I().closePosted = false; }

void ClearPolledTables() {
    auto& s = I();
    ClearKeyTables(s);
    ClearMouseButtons(s);
    for (auto& j : s.joys) j.hits.fill(0);
}

void HandleSystemEvent(const SDL_Event& e) {
    auto& s = I();
    switch (e.type) {
        case SDL_KEYDOWN: {
            const int vk = VirtualKeyFromSDL(e.key.keysym.scancode, e.key.keysym.sym);
            KeyDownVK(vk);
            break;
        }
        case SDL_KEYUP:
            KeyUpVK(VirtualKeyFromSDL(e.key.keysym.scancode, e.key.keysym.sym));
            break;
        case SDL_TEXTINPUT:
            TextInput(e.text.text);
            break;
        case SDL_MOUSEMOTION:
            MouseMoveTo(e.motion.x, e.motion.y);
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP: {
            // Windows numbering: 1 left, 2 right, 3 middle.
            int b = 0;
            if (e.button.button == SDL_BUTTON_LEFT) b = 1;
            else if (e.button.button == SDL_BUTTON_RIGHT) b = 2;
            else if (e.button.button == SDL_BUTTON_MIDDLE) b = 3;
            s.mouseX = e.button.x;
            s.mouseY = e.button.y;
            MouseButton(b, e.type == SDL_MOUSEBUTTONDOWN, e.button.x, e.button.y);
            break;
        }
        case SDL_MOUSEWHEEL: {
            int y = e.wheel.y;
            if (e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED) y = -y;
            Wheel(y);
            break;
        }
        case SDL_WINDOWEVENT:
            switch (e.window.event) {
                case SDL_WINDOWEVENT_FOCUS_LOST: Post(EVENT_APPSUSPEND); break;
                case SDL_WINDOWEVENT_FOCUS_GAINED: Post(EVENT_APPRESUME); break;
                case SDL_WINDOWEVENT_CLOSE:
                    s.closePosted = true;
                    Post(EVENT_APPTERMINATE);
                    break;
                case SDL_WINDOWEVENT_ENTER: Post(EVENT_MOUSEENTER); break;
                case SDL_WINDOWEVENT_LEAVE: Post(EVENT_MOUSELEAVE); break;
                case SDL_WINDOWEVENT_MOVED:
                    Post(EVENT_WINDOWMOVE, 0, e.window.data1, e.window.data2);
                    break;
                case SDL_WINDOWEVENT_SIZE_CHANGED:
                    gfx::DisplaySizeChanged();
                    Post(EVENT_WINDOWSIZE, 0, e.window.data1, e.window.data2);
                    break;
                default: break;
            }
            break;
        case SDL_QUIT:
            // Closing the last window also sends this: one request is enough.
            if (!s.closePosted) Post(EVENT_APPTERMINATE);
            s.closePosted = true;
            break;
        case SDL_JOYDEVICEADDED:
            OpenDevice(e.jdevice.which);
            break;
        case SDL_JOYDEVICEREMOVED:
            RemoveDevice(e.jdevice.which);
            break;
        case SDL_JOYBUTTONDOWN:
            JoyButtonDown(e.jbutton.which, e.jbutton.button, false);
            break;
        case SDL_CONTROLLERBUTTONDOWN:
            JoyButtonDown(e.cbutton.which, e.cbutton.button, true);
            break;
        default:
            break;
    }
}

}  // namespace sys

// --- keyboard ---------------------------------------------------------------
int KeyHit(int key) {
    if (key < 0 || key > 255) return 0;
    PumpEvents();
    return std::exchange(I().keyHits[static_cast<std::size_t>(key)], 0);
}

bool KeyDown(int key) {
    if (key < 0 || key > 255) return false;
    PumpEvents();
    return I().keyDown[static_cast<std::size_t>(key)];
}

int GetChar() {
    PumpEvents();
    auto& c = I().chars;
    if (c.empty()) return 0;
    const int code = c.front();
    c.pop_front();
    return code;
}

void FlushKeys() {
    PumpEvents();
    ClearKeyTables(I());
}

// --- mouse ----------------------------------------------------------------
int MouseHit(int button) {
    if (button < 1 || button > 3) return 0;
    PumpEvents();
    return std::exchange(I().mouseHits[static_cast<std::size_t>(button)], 0);
}

bool MouseDown(int button) {
    if (button < 1 || button > 3) return false;
    PumpEvents();
    return I().mouseDown[static_cast<std::size_t>(button)];
}

int MouseX() {
    PumpEvents();
    return I().mouseX;
}

int MouseY() {
    PumpEvents();
    return I().mouseY;
}

int MouseZ() {
    PumpEvents();
    return I().mouseZ;
}

void FlushMouse() {
    PumpEvents();
    ClearMouseButtons(I());
}

float VirtualMouseX() {
    const auto lb = gfx::CurrentLetterbox();
    const float px = static_cast<float>(MouseX()) * gfx::DrawablePerWindowPixel();
    return lb.scale > 0 ? (px - lb.offsetX) / lb.scale : px;
}

float VirtualMouseY() {
    const auto lb = gfx::CurrentLetterbox();
    const float py = static_cast<float>(MouseY()) * gfx::DrawablePerWindowPixel();
    return lb.scale > 0 ? (py - lb.offsetY) / lb.scale : py;
}

// --- joysticks ---------------------------------------------------------------
int JoyCount() {
    PumpEvents();
    return static_cast<int>(I().joys.size());
}

float JoyX(int port) { return JoyAxis(port, 0); }
float JoyY(int port) { return JoyAxis(port, 1); }

int JoyHit(int button, int port) {
    PumpEvents();
    Joy* j = Port(port);
    if (!j || button < 0 || button >= 32) return 0;
    return std::exchange(j->hits[static_cast<std::size_t>(button)], 0);
}

bool JoyDown(int button, int port) {
    PumpEvents();
    Joy* j = Port(port);
    if (!j || button < 0) return false;
    if (j->controller)
        return button < SDL_CONTROLLER_BUTTON_MAX &&
               SDL_GameControllerGetButton(j->controller,
                                           static_cast<SDL_GameControllerButton>(button)) != 0;
    return button < SDL_JoystickNumButtons(j->joystick) &&
           SDL_JoystickGetButton(j->joystick, button) != 0;
}

std::string JoyName(int port) {
    Joy* j = Port(port);
    if (!j) return "";
    const char* n = j->controller ? SDL_GameControllerName(j->controller)
                                  : SDL_JoystickName(j->joystick);
    return n ? n : "";
}

// --- test input -------------------------------------------------------------
void SimulateKeyDown(int key, bool /*repeat*/) { KeyDownVK(key); }
void SimulateKeyUp(int key) { KeyUpVK(key); }

void SimulateKeyPress(int key) {
    KeyDownVK(key);
    KeyUpVK(key);
}

void SimulateChar(int code) { CharInput(code); }
void SimulateMouseMove(int x, int y) { MouseMoveTo(x, y); }

void SimulateMouseButton(int button, bool down) {
    MouseButton(button, down, I().mouseX, I().mouseY);
}

void SimulateAppEvent(int id) { Post(id); }

bool SimulateSystemKey(const std::string& scancodeName, const std::string& keyName, bool down,
                       bool repeat) {
    if (!sys::EnsureEvents()) return false;
    const SDL_Scancode sc = SDL_GetScancodeFromName(scancodeName.c_str());
    const SDL_Keycode key = keyName.empty() ? SDL_GetKeyFromScancode(sc)
                                            : SDL_GetKeyFromName(keyName.c_str());
    if (sc == SDL_SCANCODE_UNKNOWN && key == SDLK_UNKNOWN) return false;
    SDL_Event e{};
    e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.key.repeat = repeat ? 1 : 0;
    e.key.keysym.scancode = sc;
    e.key.keysym.sym = key;
    return SDL_PushEvent(&e) == 1;
}

bool SimulateSystemText(const std::string& utf8) {
    if (!sys::EnsureEvents() || utf8.size() >= sizeof(SDL_TextInputEvent::text)) return false;
    SDL_Event e{};
    e.type = SDL_TEXTINPUT;
    std::copy(utf8.begin(), utf8.end(), e.text.text);
    return SDL_PushEvent(&e) == 1;
}

int AttachVirtualJoystick() {
    if (!sys::EnsureEvents()) return -1;
    const int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_UNKNOWN, 2, 2, 0);
    if (index < 0) return -1;
    return OpenDevice(index);
}

int AttachVirtualController() {
    if (!sys::EnsureEvents()) return -1;
    // A device of no known kind, so that the window system has no mapping of
    // its own for it: the mapping below, as a pad's user would give one, is
    // what makes it a controller.
    SDL_VirtualJoystickDesc desc;
    SDL_zero(desc);
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_UNKNOWN;
    desc.naxes = 2;
    desc.nbuttons = 6;
    desc.name = "Virtual test pad";
    const int index = SDL_JoystickAttachVirtualEx(&desc);
    if (index < 0) return -1;
    // Mappings name a device by its identifier without the checksum of its name.
    SDL_JoystickGUID guid = SDL_JoystickGetDeviceGUID(index);
    guid.data[2] = guid.data[3] = 0;
    char text[33];
    SDL_JoystickGetGUIDString(guid, text, sizeof text);
    const std::string mapping = std::string(text) +
                                ",Virtual pad,a:b0,b:b1,dpup:b2,dpdown:b3,dpleft:b4,dpright:b5,"
                                "leftx:a0,lefty:a1,";
    if (SDL_GameControllerAddMapping(mapping.c_str()) < 0) {
        SDL_JoystickDetachVirtual(index);
        return -1;
    }
    // The device's arrival is handled with the mapping in place.
    PumpEvents();
    const int port = OpenDevice(index);
    Joy* j = Port(port);
    return j && j->controller ? port : -1;
}

void DetachVirtualJoysticks() {
    auto& joys = I().joys;
    for (auto it = joys.begin(); it != joys.end();) {
        if (it->isVirtual) {
            CloseJoy(*it);
            it = joys.erase(it);
        } else {
            ++it;
        }
    }
    if (!SDL_WasInit(SDL_INIT_JOYSTICK)) return;
    for (int i = SDL_NumJoysticks() - 1; i >= 0; --i)
        if (SDL_JoystickIsVirtual(i)) SDL_JoystickDetachVirtual(i);
    PumpEvents();
}

void SetVirtualJoystickAxes(int port, float x, float y) {
    Joy* j = Port(port);
    if (!j || !j->isVirtual) return;
    auto raw = [](float v) {
        v = std::clamp(v, -1.f, 1.f);
        return static_cast<Sint16>(v < 0 ? std::lround(v * 32768.f) : std::lround(v * 32767.f));
    };
    SDL_JoystickSetVirtualAxis(j->joystick, 0, raw(x));
    SDL_JoystickSetVirtualAxis(j->joystick, 1, raw(y));
}

void SetVirtualJoystickButton(int port, int button, bool down) {
    Joy* j = Port(port);
    if (!j || !j->isVirtual) return;
    SDL_JoystickSetVirtualButton(j->joystick, button, down ? 1 : 0);
}

}  // namespace plat
