#pragma once

#include <QApplication>
#include <QProxyStyle>

// The desktop's switch for widget animations as views read it: the duration the style gives
// them. The view tests run as on a desktop that switched animations off, so what they check is
// there at once; a test of an animation switches them on while an `On` lives.
class AnimationSwitchStyle : public QProxyStyle {
public:
    // The application's style from now on, with animations off.
    static void install() { QApplication::setStyle(new AnimationSwitchStyle); }

    struct On {
        On() { s_animated = true; }
        ~On() { s_animated = false; }
        On(const On &) = delete;
        On &operator=(const On &) = delete;
    };

    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *returned) const override
    {
        if (hint == SH_Widget_Animation_Duration && !s_animated)
            return 0;
        return QProxyStyle::styleHint(hint, option, widget, returned);
    }

private:
    static inline bool s_animated = false;
};
