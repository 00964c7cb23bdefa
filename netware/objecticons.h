#pragma once

#include <QIcon>

// The icon of an object kind (see ClassKind): a small badge with the kind's colour and letter,
// so that users, groups, containers and resources tell apart at a glance.
QIcon ObjectKindIcon(int kind);
