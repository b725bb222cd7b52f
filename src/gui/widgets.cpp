#include "gui/widgets.h"

#include <unistd.h>

#include "core/app/font_setting.h"
#include "embedded_resources.h"

GdkPixbuf* loadIcon(const char* name) {
  const EmbeddedResource* res = findResource(name);
  if (!res) return nullptr;
  GdkPixbufLoader* loader = gdk_pixbuf_loader_new_with_type("png", nullptr);
  if (!loader) return nullptr;
  GdkPixbuf* pixbuf = nullptr;
  if (gdk_pixbuf_loader_write(loader, res->data, res->size, nullptr) && gdk_pixbuf_loader_close(loader, nullptr)) {
    pixbuf = gdk_pixbuf_loader_get_pixbuf(loader);
    if (pixbuf) g_object_ref(pixbuf);
  } else {
    gdk_pixbuf_loader_close(loader, nullptr);
  }
  g_object_unref(loader);
  return pixbuf;
}

GtkWidget* iconImage(const char* name) {
  GdkPixbuf* pixbuf = loadIcon(name);
  if (!pixbuf) return gtk_image_new();
  GtkWidget* image = gtk_image_new_from_pixbuf(pixbuf);
  g_object_unref(pixbuf);
  return image;
}

void place(GtkWidget* container, GtkWidget* widget, int x, int y, int w, int h) {
  if (GTK_IS_LAYOUT(container))
    gtk_layout_put(GTK_LAYOUT(container), widget, x, y);
  else
    gtk_fixed_put(GTK_FIXED(container), widget, x, y);
  gtk_widget_set_size_request(widget, w, h);
}

void moveTo(GtkWidget* container, GtkWidget* widget, int x, int y) {
  if (GTK_IS_LAYOUT(container))
    gtk_layout_move(GTK_LAYOUT(container), widget, x, y);
  else
    gtk_fixed_move(GTK_FIXED(container), widget, x, y);
}

GdkColor toGdkColor(Color c) {
  GdkColor color = {0, static_cast<guint16>(colorRed(c) * 257), static_cast<guint16>(colorGreen(c) * 257),
                    static_cast<guint16>(colorBlue(c) * 257)};
  return color;
}

void setBackground(GtkWidget* widget, Color c) {
  if (c == kNoColor) {
    gtk_widget_modify_base(widget, GTK_STATE_NORMAL, nullptr);
    gtk_widget_modify_bg(widget, GTK_STATE_NORMAL, nullptr);
    return;
  }
  GdkColor color = toGdkColor(c);
  gtk_widget_modify_base(widget, GTK_STATE_NORMAL, &color);
  gtk_widget_modify_bg(widget, GTK_STATE_NORMAL, &color);
}

void processPendingEvents() {
  while (gtk_events_pending()) gtk_main_iteration_do(FALSE);
}

void sleepMs(int ms) { usleep(static_cast<useconds_t>(ms) * 1000); }

static std::string gtkFontName() {
  GtkSettings* settings = gtk_settings_get_default();
  if (!settings) return std::string();
  GValue value = G_VALUE_INIT;
  g_value_init(&value, G_TYPE_STRING);
  g_object_get_property(G_OBJECT(settings), "gtk-font-name", &value);
  const char* s = g_value_get_string(&value);
  std::string name = s ? s : "";
  g_value_unset(&value);
  return name;
}

std::string DefaultFontFamily() { return fontSettingFamily(gtkFontName()); }
int DefaultFontSize() { return fontSettingSize(gtkFontName()); }

std::string widgetText(GtkWidget* widget) {
  if (GTK_IS_ENTRY(widget)) return gtk_entry_get_text(GTK_ENTRY(widget));
  if (GTK_IS_LABEL(widget)) return gtk_label_get_text(GTK_LABEL(widget));
  if (GTK_IS_TEXT_VIEW(widget)) {
    GtkTextBuffer* buffer = gtk_text_view_get_buffer(GTK_TEXT_VIEW(widget));
    GtkTextIter start, end;
    gtk_text_buffer_get_bounds(buffer, &start, &end);
    gchar* text = gtk_text_buffer_get_text(buffer, &start, &end, TRUE);
    std::string result = text ? text : "";
    g_free(text);
    return result;
  }
  return std::string();
}
