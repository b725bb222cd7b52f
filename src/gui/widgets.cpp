#include "gui/widgets.h"

#include <unistd.h>

#include <gdk/gdkkeysyms.h>

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

void markKeyboardFocus() {
  static bool parsed = false;  // the styles stay for the whole process
  if (parsed) return;
  parsed = true;
  gtk_rc_parse_string(
      "style \"vl-outer-focus\" { GtkWidget::interior-focus = 0 }\n"
      "class \"GtkTextView\" style \"vl-outer-focus\"\n"
      "class \"GtkEntry\" style \"vl-outer-focus\"\n");
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

namespace {

gboolean onDeleteEvent(GtkWidget*, GdkEvent*, gpointer data) {
  auto* frame = static_cast<WindowFrame*>(data);
  frame->events->post(kEventCloseWindow, frame->no, 0);
  return TRUE;  // windows are only hidden by their handlers, never destroyed by the close button
}

struct KeyBinding {
  WindowFrame* frame;
  MenuNo menu;
};

gboolean onAccel(GtkAccelGroup*, GObject*, guint, GdkModifierType, gpointer data) {
  auto* binding = static_cast<KeyBinding*>(data);
  binding->frame->events->post(kEventMenu, binding->frame->no, binding->menu);
  return TRUE;
}

void freeBinding(gpointer data, GClosure*) { delete static_cast<KeyBinding*>(data); }

// Window decorations can be set only once the window has its X window.
void restrictDecorations(GtkWidget* window) {
  gtk_widget_realize(window);
  GdkWindow* w = gtk_widget_get_window(window);
  if (!w) return;
  gdk_window_set_decorations(w, GdkWMDecoration(GDK_DECOR_TITLE | GDK_DECOR_BORDER | GDK_DECOR_MENU));
  gdk_window_set_functions(w, GdkWMFunction(GDK_FUNC_MOVE | GDK_FUNC_CLOSE));
}

}  // namespace

void bindKey(WindowFrame& frame, guint key, GdkModifierType mods, MenuNo menu) {
  GClosure* closure = g_cclosure_new(G_CALLBACK(onAccel), new KeyBinding{&frame, menu}, freeBinding);
  gtk_accel_group_connect(frame.accel, key, mods, GtkAccelFlags(0), closure);
}

void connectWindow(WindowFrame& frame) {
  frame.accel = gtk_accel_group_new();
  gtk_window_add_accel_group(GTK_WINDOW(frame.window), frame.accel);
  g_object_unref(frame.accel);  // the window holds it
  g_signal_connect(frame.window, "delete-event", G_CALLBACK(onDeleteEvent), &frame);
  // Every window binds Escape: it ends the program in the main window and hides the others.
  bindKey(frame, GDK_KEY_Escape, GdkModifierType(0), kKeyEscape);
}

void destroyFrame(WindowFrame& frame) {
  if (frame.window) gtk_widget_destroy(frame.window);
  frame.window = nullptr;
}

void openSecondaryWindow(WindowFrame& frame, const SecondaryWindowLayout& layout) {
  frame.window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  GtkWindow* window = GTK_WINDOW(frame.window);
  gtk_window_set_title(window, layout.title);
  if (layout.utility) gtk_window_set_type_hint(window, GDK_WINDOW_TYPE_HINT_UTILITY);
  if (layout.position == GTK_WIN_POS_NONE)
    gtk_window_move(window, 300, 200);
  else
    gtk_window_set_position(window, layout.position);
  if (layout.toolWindow) gtk_window_set_resizable(window, FALSE);
  frame.fixed = gtk_fixed_new();
  gtk_widget_set_size_request(frame.fixed, layout.width, layout.height);
  gtk_container_add(GTK_CONTAINER(frame.window), frame.fixed);
  connectWindow(frame);
}

void finishSecondaryWindow(WindowFrame& frame, const SecondaryWindowLayout& layout) {
  gtk_widget_show_all(frame.fixed);
  if (layout.toolWindow) restrictDecorations(frame.window);
}

GtkWidget* scrolledFrame(GtkWidget* child) {
  GtkWidget* sw = gtk_scrolled_window_new(nullptr, nullptr);
  gtk_scrolled_window_set_policy(GTK_SCROLLED_WINDOW(sw), GTK_POLICY_AUTOMATIC, GTK_POLICY_AUTOMATIC);
  gtk_scrolled_window_set_shadow_type(GTK_SCROLLED_WINDOW(sw), GTK_SHADOW_ETCHED_IN);
  gtk_container_add(GTK_CONTAINER(sw), child);
  return sw;
}

static void placeBelow(GtkMenu*, gint* x, gint* y, gboolean* pushIn, gpointer data) {
  auto* button = static_cast<GtkWidget*>(data);
  GtkAllocation a;
  gtk_widget_get_allocation(button, &a);
  gdk_window_get_origin(gtk_widget_get_window(button), x, y);
  *x += a.x;
  *y += a.y + a.height;
  *pushIn = TRUE;
}

void popupMenu(GtkWidget* menu, GtkWidget* button) {
  bool keyboard = button && gtk_widget_has_focus(button);
  gtk_menu_popup(GTK_MENU(menu), nullptr, nullptr, keyboard ? placeBelow : nullptr, keyboard ? button : nullptr, 0,
                 gtk_get_current_event_time());
  if (keyboard) gtk_menu_shell_select_first(GTK_MENU_SHELL(menu), FALSE);
}

namespace {

struct ScreenPoint {
  int x, y;
};

void placeAtPoint(GtkMenu*, gint* x, gint* y, gboolean* pushIn, gpointer data) {
  const auto* point = static_cast<const ScreenPoint*>(data);
  *x = point->x;
  *y = point->y;
  *pushIn = TRUE;
}

}  // namespace

void popupMenuAt(GtkWidget* menu, int x, int y) {
  // GTK asks for the place while the menu is being shown, so the point may live here.
  ScreenPoint point{x, y};
  gtk_menu_popup(GTK_MENU(menu), nullptr, nullptr, placeAtPoint, &point, 0, gtk_get_current_event_time());
}

void copyToClipboard(const std::string& text) {
  gtk_clipboard_set_text(gtk_clipboard_get(GDK_SELECTION_CLIPBOARD), text.c_str(), static_cast<gint>(text.size()));
}

GtkWidget* captionLabel(const char* text, const std::string& boldFontName) {
  GtkWidget* label = gtk_label_new(text);
  PangoFontDescription* bold = pango_font_description_from_string(boldFontName.c_str());
  gtk_widget_modify_font(label, bold);
  pango_font_description_free(bold);
  return label;
}

void flashWidget(GtkWidget* widget, Color flash, Color after) {
  setBackground(widget, flash);
  gtk_widget_queue_draw(widget);
  processPendingEvents();
  sleepMs(200);
  setBackground(widget, after);
}
