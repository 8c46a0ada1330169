#pragma once

// Roles the widgets' own accessible interfaces get wrong for this window: the status box is a
// notification, so that a screen reader speaks each new message without moving focus, and each
// group frame is a panel named by its heading, not a frame (which a screen reader takes for a
// window of its own), and a list keeps its caption as its name. Once per program; harmless to call again.
void installAccessibleRoles();
