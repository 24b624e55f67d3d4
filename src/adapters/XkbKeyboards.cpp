#include "adapters/XkbKeyboards.h"

#ifdef CLAVIMO_XKB
#include <xkbcommon/xkbcommon.h>

#include <cstring>

namespace {

// What a dead key prints and the combining accent it puts on the letter typed after it.
struct DeadAccent
{
    const char *name;
    char16_t printed;
    char16_t combining;
};
constexpr DeadAccent kDeadAccents[] = {
    {"dead_grave", u'`', 0x0300},      {"dead_acute", 0x00B4, 0x0301},     {"dead_circumflex", u'^', 0x0302},
    {"dead_tilde", u'~', 0x0303},      {"dead_macron", 0x00AF, 0x0304},    {"dead_breve", 0x02D8, 0x0306},
    {"dead_abovedot", 0x02D9, 0x0307}, {"dead_diaeresis", 0x00A8, 0x0308}, {"dead_abovering", 0x02DA, 0x030A},
    {"dead_doubleacute", 0x02DD, 0x030B}, {"dead_caron", 0x02C7, 0x030C}, {"dead_cedilla", 0x00B8, 0x0327},
    {"dead_ogonek", 0x02DB, 0x0328},
};

// The four levels the keyboards print: plain, Shift, AltGr, Shift+AltGr.
constexpr xkb_level_index_t kLevels = 4;

KeySymbol symbolOf(xkb_keysym_t sym)
{
    const uint32_t code = xkb_keysym_to_utf32(sym);
    if (code >= 0x20 && code != 0x7F)
        return {QString::fromUcs4(reinterpret_cast<const char32_t *>(&code), 1), QChar()};
    char name[64];
    if (xkb_keysym_get_name(sym, name, sizeof name) > 0) {
        for (const DeadAccent &d : kDeadAccents) {
            if (std::strcmp(name, d.name) == 0)
                return {QString(QChar(d.printed)), QChar(d.combining)};
        }
    }
    return {};
}

struct KeymapDeleter
{
    void operator()(xkb_keymap *keymap) const { xkb_keymap_unref(keymap); }
};

} // namespace

void XkbKeyboards::ContextDeleter::operator()(xkb_context *context) const
{
    xkb_context_unref(context);
}

XkbKeyboards::XkbKeyboards(const QString &dataFolder)
{
    // The names come from the window, never from the XKB_DEFAULT_* variables.
    int flags = XKB_CONTEXT_NO_ENVIRONMENT_NAMES;
    if (!dataFolder.isEmpty())
        flags |= XKB_CONTEXT_NO_DEFAULT_INCLUDES;
    context_.reset(xkb_context_new(xkb_context_flags(flags)));
    if (!context_)
        return;
    // A layout the data lacks is not an error worth printing: the map falls back to "fr".
    xkb_context_set_log_level(context_.get(), XKB_LOG_LEVEL_CRITICAL);
    if (!dataFolder.isEmpty())
        xkb_context_include_path_append(context_.get(), dataFolder.toLocal8Bit().constData());
}

XkbKeyboards::~XkbKeyboards() = default;

std::optional<Keyboard> XkbKeyboards::keyboard(const QString &layout)
{
    const auto found = made_.constFind(layout);
    if (found != made_.cend())
        return *found;
    return *made_.insert(layout, compile(layout));
}

std::optional<Keyboard> XkbKeyboards::compile(const QString &layout) const
{
    if (!context_)
        return std::nullopt;
    // "ch(fr)": the layout "ch", its variant "fr".
    const qsizetype open = layout.indexOf(QLatin1Char('('));
    const QByteArray name = layout.left(open).toLatin1();
    const QByteArray variant = open < 0 ? QByteArray() : layout.mid(open + 1).chopped(1).toLatin1();
    if (name.isEmpty())
        return std::nullopt;
    xkb_rule_names names{"evdev", "pc105", name.constData(), variant.constData(), ""};
    const std::unique_ptr<xkb_keymap, KeymapDeleter> keymap(
        xkb_keymap_new_from_names(context_.get(), &names, XKB_KEYMAP_COMPILE_NO_FLAGS));
    if (!keymap)
        return std::nullopt;

    Keyboard keyboard;
    keyboard.layout = layout;
    for (const QList<PhysicalKey> &row : physicalRows()) {
        QList<Key> keys;
        for (const PhysicalKey &physical : row) {
            Key key{QString::fromLatin1(physical.name), {}, physical.width};
            const xkb_keycode_t code = xkb_keymap_key_by_name(keymap.get(), physical.name);
            const xkb_level_index_t levels =
                code == XKB_KEYCODE_INVALID ? 0 : std::min(kLevels, xkb_keymap_num_levels_for_key(keymap.get(), code, 0));
            for (xkb_level_index_t level = 0; level < levels; ++level) {
                const xkb_keysym_t *syms = nullptr;
                const int count = xkb_keymap_key_get_syms_by_level(keymap.get(), code, 0, level, &syms);
                key.levels.append(count > 0 ? symbolOf(syms[0]) : KeySymbol{});
            }
            keys.append(key);
        }
        keyboard.rows.append(keys);
    }
    return keyboard;
}

#else
// Without libxkbcommon (Windows, macOS) there is no keyboard data: every layout falls back
// to the keys with nothing on them.
void XkbKeyboards::ContextDeleter::operator()(xkb_context *) const {}
XkbKeyboards::XkbKeyboards(const QString &) {}
XkbKeyboards::~XkbKeyboards() = default;
std::optional<Keyboard> XkbKeyboards::keyboard(const QString &) { return std::nullopt; }
std::optional<Keyboard> XkbKeyboards::compile(const QString &) const { return std::nullopt; }
#endif
