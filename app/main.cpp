// VantClient: one window showing a player's view of the card table.
#include "app/uVantRenderGame.h"
#include "platform/TRandom.h"

#include <QGuiApplication>
#include <QQuickStyle>
#include <cstdio>
#include <exception>

int main(int argc, char **argv)
{
    // The client id and the discovery port are drawn from it.
    TRandom::Randomize();
    QGuiApplication app(argc, argv);
    QQuickStyle::setStyle(QStringLiteral("Basic"));
    // Landscape only: desktop platforms have no screen orientations to
    // restrict; on a device the restriction belongs in its package manifest.
    try {
        TFormRenderGame form;
        form.Show();
        return app.exec();
    } catch (const std::exception &e) {
        // The layout did not load or lacks a control: end with the reason.
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}
