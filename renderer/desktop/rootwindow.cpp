#include "rootwindow.h"

#include <xcb/randr.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

namespace Desktop::RootWindow {

namespace {

struct Connection
{
    xcb_connection_t *c = nullptr;
    xcb_screen_t *screen = nullptr;

    Connection()
    {
        int number = 0;
        c = xcb_connect(nullptr, &number);
        if (xcb_connection_has_error(c))
            return;
        xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(c));
        for (; it.rem && number > 0; --number)
            xcb_screen_next(&it);
        screen = it.rem ? it.data : nullptr;
    }
    ~Connection() { xcb_disconnect(c); }
    bool ok() const { return screen != nullptr; }
};

template <typename T>
using Reply = std::unique_ptr<T, decltype(&std::free)>;

// The root property naming the copy keepBackground() keeps.
constexpr const char *kKeptProperty = "_QUILLORA_KEPT_PIXMAP";

xcb_atom_t atom(xcb_connection_t *c, const char *name)
{
    Reply<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(strlen(name)), name), nullptr), &std::free);
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

// The pixmap a root property names, or none.
xcb_pixmap_t pixmapOf(xcb_connection_t *c, xcb_window_t root, xcb_atom_t property)
{
    Reply<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(c, xcb_get_property(c, 0, root, property, XCB_ATOM_PIXMAP, 0, 1), nullptr), &std::free);
    if (!reply || reply->type != XCB_ATOM_PIXMAP || xcb_get_property_value_length(reply.get()) != 4)
        return XCB_NONE;
    return *static_cast<xcb_pixmap_t *>(xcb_get_property_value(reply.get()));
}

int bitsPerPixel(const xcb_setup_t *setup, uint8_t depth)
{
    xcb_format_iterator_t it = xcb_setup_pixmap_formats_iterator(setup);
    for (; it.rem; xcb_format_next(&it)) {
        if (it.data->depth == depth)
            return it.data->bits_per_pixel;
    }
    return 0;
}

} // namespace

namespace {

// The primary monitor (else the first) of the server's monitors, or an empty rectangle.
QRect primaryMonitor(xcb_connection_t *c, xcb_window_t root)
{
    const xcb_query_extension_reply_t *randr = xcb_get_extension_data(c, &xcb_randr_id);
    if (!randr || !randr->present)
        return QRect();
    // Monitors came with version 1.5 of the extension.
    Reply<xcb_randr_query_version_reply_t> version(
        xcb_randr_query_version_reply(c, xcb_randr_query_version(c, 1, 5), nullptr), &std::free);
    if (!version || (version->major_version == 1 && version->minor_version < 5))
        return QRect();
    Reply<xcb_randr_get_monitors_reply_t> monitors(
        xcb_randr_get_monitors_reply(c, xcb_randr_get_monitors(c, root, 1), nullptr), &std::free);
    if (!monitors)
        return QRect();
    QRect chosen;
    for (xcb_randr_monitor_info_iterator_t it = xcb_randr_get_monitors_monitors_iterator(monitors.get()); it.rem;
         xcb_randr_monitor_info_next(&it)) {
        const QRect rect(it.data->x, it.data->y, it.data->width, it.data->height);
        if (chosen.isEmpty() || it.data->primary)
            chosen = rect;
        if (it.data->primary)
            break;
    }
    return chosen;
}

// The root window's resources (RESOURCE_MANAGER), as xrdb keeps them.
QByteArray resources(xcb_connection_t *c, xcb_window_t root)
{
    Reply<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(c, xcb_get_property(c, 0, root, XCB_ATOM_RESOURCE_MANAGER, XCB_ATOM_STRING, 0, 1 << 16), nullptr),
        &std::free);
    if (!reply || reply->type != XCB_ATOM_STRING)
        return QByteArray();
    return QByteArray(static_cast<const char *>(xcb_get_property_value(reply.get())), xcb_get_property_value_length(reply.get()));
}

// Makes `pixmap` the root window's background and names it by both properties (none: the
// server's own background, without them), ending the connection that kept the picture shown
// before. With a pixmap of this connection, the connection stays after it closes.
bool showPixmap(Connection &x, xcb_pixmap_t pixmap, QString *error)
{
    const xcb_setup_t *setup = xcb_get_setup(x.c);
    const xcb_window_t root = x.screen->root;
    const xcb_atom_t rootPmap = atom(x.c, "_XROOTPMAP_ID");
    const xcb_atom_t esetroot = atom(x.c, "ESETROOT_PMAP_ID");
    if (rootPmap == XCB_ATOM_NONE || esetroot == XCB_ATOM_NONE) {
        *error = QStringLiteral("the display names no root picture properties");
        return false;
    }
    const xcb_pixmap_t previous = pixmapOf(x.c, root, esetroot);
    const bool previousIsShown = previous != XCB_NONE && previous != pixmap && previous == pixmapOf(x.c, root, rootPmap);

    xcb_change_window_attributes(x.c, root, XCB_CW_BACK_PIXMAP, &pixmap);
    xcb_clear_area(x.c, 0, root, 0, 0, 0, 0);
    for (const xcb_atom_t property : {rootPmap, esetroot}) {
        if (pixmap == XCB_NONE)
            xcb_delete_property(x.c, root, property);
        else
            xcb_change_property(x.c, XCB_PROP_MODE_REPLACE, root, property, XCB_ATOM_PIXMAP, 32, 1, &pixmap);
    }
    // The connection that kept the previous picture is ended now that the new one shows. A
    // name that would fall among this connection's own resources is left alone.
    const bool own = (pixmap & ~setup->resource_id_mask) == setup->resource_id_base;
    if (previousIsShown && (previous & ~setup->resource_id_mask) != setup->resource_id_base)
        xcb_kill_client(x.c, previous);
    if (own && pixmap != XCB_NONE)
        xcb_set_close_down_mode(x.c, XCB_CLOSE_DOWN_RETAIN_PERMANENT);
    // A round trip: every request above has reached the server before the connection closes.
    Reply<xcb_get_input_focus_reply_t> sync(xcb_get_input_focus_reply(x.c, xcb_get_input_focus(x.c), nullptr), &std::free);
    if (!sync) {
        *error = QStringLiteral("the display closed the connection");
        return false;
    }
    return true;
}

} // namespace

Screen screen()
{
    Connection x;
    if (!x.ok())
        return Screen();
    const QSize root(x.screen->width_in_pixels, x.screen->height_in_pixels);
    // A monitor partly off the root is cut to it.
    const QRect primary = primaryMonitor(x.c, x.screen->root) & QRect(QPoint(0, 0), root);
    return {root, primary.isEmpty() ? QRect(QPoint(0, 0), root) : primary, parseXftScale(resources(x.c, x.screen->root))};
}

bool setBackground(const QImage &image, QString *error)
{
    Connection x;
    if (!x.ok()) {
        *error = QStringLiteral("cannot open the display %1").arg(QString::fromLocal8Bit(qgetenv("DISPLAY")));
        return false;
    }
    const xcb_setup_t *setup = xcb_get_setup(x.c);
    const uint8_t depth = x.screen->root_depth;
    if ((depth != 24 && depth != 32) || bitsPerPixel(setup, depth) != 32
        || setup->image_byte_order != XCB_IMAGE_ORDER_LSB_FIRST) {
        *error = QStringLiteral("the display's pixels (depth %1) are not 32-bit little-endian").arg(depth);
        return false;
    }
    const xcb_window_t root = x.screen->root;
    const QImage pixels = image.convertToFormat(QImage::Format_RGB32);
    const uint16_t width = uint16_t(qMin(pixels.width(), 65535));
    const uint16_t height = uint16_t(qMin(pixels.height(), 65535));

    const xcb_pixmap_t pixmap = xcb_generate_id(x.c);
    xcb_create_pixmap(x.c, depth, pixmap, root, width, height);
    const xcb_gcontext_t gc = xcb_generate_id(x.c);
    xcb_create_gc(x.c, gc, pixmap, 0, nullptr);
    // The picture goes over in bands that fit one request.
    const uint32_t maxBytes = xcb_get_maximum_request_length(x.c) * 4 - 64;
    const int stride = width * 4;
    const int rowsPerBand = qMax(1, int(maxBytes / uint32_t(stride)));
    for (int y = 0; y < height; y += rowsPerBand) {
        const int rows = qMin(rowsPerBand, height - y);
        QByteArray band;
        band.reserve(rows * stride);
        for (int row = y; row < y + rows; ++row)
            band.append(reinterpret_cast<const char *>(pixels.constScanLine(row)), stride);
        xcb_put_image(x.c, XCB_IMAGE_FORMAT_Z_PIXMAP, pixmap, gc, width, uint16_t(rows), 0, int16_t(y), 0, depth,
                      uint32_t(band.size()), reinterpret_cast<const uint8_t *>(band.constData()));
    }
    xcb_free_gc(x.c, gc);

    return showPixmap(x, pixmap, error);
}

quint32 keepBackground(QString *error)
{
    Connection x;
    if (!x.ok()) {
        *error = QStringLiteral("cannot open the display %1").arg(QString::fromLocal8Bit(qgetenv("DISPLAY")));
        return 0;
    }
    const xcb_window_t root = x.screen->root;
    const xcb_pixmap_t shown = pixmapOf(x.c, root, atom(x.c, "_XROOTPMAP_ID"));
    Reply<xcb_get_geometry_reply_t> geometry(
        shown == XCB_NONE ? nullptr : xcb_get_geometry_reply(x.c, xcb_get_geometry(x.c, shown), nullptr), &std::free);
    if (!geometry)
        return 0;
    // A copy of its own: the connection that keeps the shown picture is ended by the next one.
    const xcb_pixmap_t copy = xcb_generate_id(x.c);
    xcb_create_pixmap(x.c, geometry->depth, copy, root, geometry->width, geometry->height);
    const xcb_gcontext_t gc = xcb_generate_id(x.c);
    xcb_create_gc(x.c, gc, copy, 0, nullptr);
    xcb_copy_area(x.c, shown, copy, gc, 0, 0, 0, 0, geometry->width, geometry->height);
    xcb_free_gc(x.c, gc);
    xcb_set_close_down_mode(x.c, XCB_CLOSE_DOWN_RETAIN_PERMANENT);
    // Named on the root as well: a server that restarts forgets its root's properties, and the
    // number may then belong to another client's window or picture.
    xcb_change_property(x.c, XCB_PROP_MODE_REPLACE, root, atom(x.c, kKeptProperty), XCB_ATOM_PIXMAP, 32, 1, &copy);
    Reply<xcb_get_input_focus_reply_t> sync(xcb_get_input_focus_reply(x.c, xcb_get_input_focus(x.c), nullptr), &std::free);
    if (!sync) {
        *error = QStringLiteral("the display closed the connection");
        return 0;
    }
    return copy;
}

void dropBackground(quint32 kept)
{
    Connection x;
    if (kept == XCB_NONE || !x.ok())
        return;
    // The copy is the only resource of the connection that made it.
    if (pixmapOf(x.c, x.screen->root, atom(x.c, kKeptProperty)) == kept) {
        xcb_kill_client(x.c, kept);
        xcb_delete_property(x.c, x.screen->root, atom(x.c, kKeptProperty));
    }
    free(xcb_get_input_focus_reply(x.c, xcb_get_input_focus(x.c), nullptr));
}

bool restoreBackground(quint32 kept, QString *error)
{
    Connection x;
    if (!x.ok()) {
        *error = QStringLiteral("cannot open the display %1").arg(QString::fromLocal8Bit(qgetenv("DISPLAY")));
        return false;
    }
    // A copy the server no longer has (it was restarted since: the root no longer names it)
    // leaves the server's own background.
    const xcb_atom_t keptProperty = atom(x.c, kKeptProperty);
    const bool known = kept != XCB_NONE && pixmapOf(x.c, x.screen->root, keptProperty) == kept;
    xcb_delete_property(x.c, x.screen->root, keptProperty);
    return showPixmap(x, known ? kept : XCB_NONE, error);
}

} // namespace Desktop::RootWindow
