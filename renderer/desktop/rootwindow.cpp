#include "rootwindow.h"

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

xcb_atom_t atom(xcb_connection_t *c, const char *name)
{
    Reply<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(strlen(name)), name), nullptr), &std::free);
    return reply ? reply->atom : XCB_ATOM_NONE;
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

QSize size()
{
    Connection x;
    if (!x.ok())
        return QSize();
    return QSize(x.screen->width_in_pixels, x.screen->height_in_pixels);
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

    const xcb_atom_t rootPmap = atom(x.c, "_XROOTPMAP_ID");
    const xcb_atom_t esetroot = atom(x.c, "ESETROOT_PMAP_ID");
    if (rootPmap == XCB_ATOM_NONE || esetroot == XCB_ATOM_NONE) {
        *error = QStringLiteral("the display names no root picture properties");
        return false;
    }
    const xcb_pixmap_t previous = pixmapOf(x.c, root, esetroot);
    const bool previousIsShown = previous != XCB_NONE && previous == pixmapOf(x.c, root, rootPmap);

    xcb_change_window_attributes(x.c, root, XCB_CW_BACK_PIXMAP, &pixmap);
    xcb_clear_area(x.c, 0, root, 0, 0, 0, 0);
    xcb_change_property(x.c, XCB_PROP_MODE_REPLACE, root, rootPmap, XCB_ATOM_PIXMAP, 32, 1, &pixmap);
    xcb_change_property(x.c, XCB_PROP_MODE_REPLACE, root, esetroot, XCB_ATOM_PIXMAP, 32, 1, &pixmap);
    // The connection that kept the previous picture is ended now that the new one shows. A
    // name that would fall among this connection's own resources is left alone.
    if (previousIsShown && (previous & ~setup->resource_id_mask) != setup->resource_id_base)
        xcb_kill_client(x.c, previous);
    xcb_set_close_down_mode(x.c, XCB_CLOSE_DOWN_RETAIN_PERMANENT);
    // A round trip: every request above has reached the server before the connection closes.
    Reply<xcb_get_input_focus_reply_t> sync(xcb_get_input_focus_reply(x.c, xcb_get_input_focus(x.c), nullptr), &std::free);
    if (!sync) {
        *error = QStringLiteral("the display closed the connection");
        return false;
    }
    return true;
}

} // namespace Desktop::RootWindow
