#pragma once

#include <QImage>
#include <QPointer>
#include <QRect>
#include <QWidget>

// A short fade from how a widget looked to how it looks now, made around a change:
//
//     const CrossFade fade(column);
//     ...change what the column shows...
//
// Made before the change, it takes a picture of the widget as it is on screen. When it goes,
// after the change, it lays the picture over the widget's place and fades it out. The new
// content is in place beneath it at once: it paints, takes clicks, keys and wheel turns; the
// picture only dims away on top and never takes input. While the desktop wants no animations
// nothing is taken and nothing is laid.
class CrossFade {
public:
    static constexpr int durationMs = 180;
    // The object name of the fading picture, a child of the host while it lasts.
    static constexpr const char *overlayName = "crossFade";

    // Whether the desktop wants `widget` animated: its style gives widget animations a
    // duration (desktops that switch animations off make it 0), and an application that keeps
    // out of the desktop's settings has not switched its UI effects off.
    static bool wanted(const QWidget *widget);

    // Pictures `widget` now, to be laid over the place it takes in `host`: the widget itself,
    // or an ancestor for a widget whose size follows its content (the picture then keeps the
    // old size). A null widget, or one not on screen, makes a fade that does nothing.
    explicit CrossFade(QWidget *widget, QWidget *host = nullptr);
    ~CrossFade();
    CrossFade(const CrossFade &) = delete;
    CrossFade &operator=(const CrossFade &) = delete;

    // While one lives, the changes made are meant to be seen animated, and the views that
    // follow them fade (choosing a row, removing the selected paper); other changes of the
    // same state show at once.
    class AnimatedChanges {
    public:
        AnimatedChanges() { ++s_depth; }
        ~AnimatedChanges() { --s_depth; }
        AnimatedChanges(const AnimatedChanges &) = delete;
        AnimatedChanges &operator=(const AnimatedChanges &) = delete;
        static bool active() { return s_depth > 0; }

    private:
        static inline int s_depth = 0;
    };

private:
    QPointer<QWidget> m_host;
    QRect m_place;
    QImage m_picture;
    // The fade already running over the place, which goes on instead.
    QPointer<QWidget> m_running;
};
