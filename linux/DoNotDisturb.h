#pragma once

// Whether the desktop's "do not disturb" is on: KDE Plasma's notifications inhibited (the
// notification service's Inhibited property), or GNOME's banners switched off (the
// org.gnome.desktop.notifications key show-banners, read through GSettings). False where
// the desktop says neither, and once a service that said so has gone.
bool doNotDisturb();
