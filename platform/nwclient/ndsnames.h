#pragma once

#include "platform/nwproto/directory.h"

#include <QString>
#include <QStringList>
#include <cstdint>

// How the client turns names given relative to a context into names from the root and back.
// Pure text work; the server only ever sees names from the root.
namespace nwclient::ndsnames {

// The components of a name, leftmost (the object) first; dots escaped with "\" stay inside.
QStringList components(const QString& name);
// "CN=JOHN.OU=SALES.O=ACME" -> "JOHN.SALES.ACME".
QString typeless(const QString& name);
bool isRoot(const QString& name);

// The name from the root for a name given to a context. With canonicalize (0x10) a name is
// relative to the name context: a leading "." makes it absolute, each trailing "." steps one
// level up from the context. Without it the name is taken from the root as it stands.
nwproto::NWDSCCODE absolute(
    const QString& name, uint32_t flags, const QString& nameContext, QString& result);

// The shortest form of a name from the root, relative to the name context: the context's
// components are cut from its end when the name lies below the context; a name elsewhere keeps
// all its components and gets a leading "." so that it still reads as absolute. Only with
// canonicalize (0x10) and a context other than the root; otherwise the name is returned as is.
QString abbreviate(const QString& name, uint32_t flags, const QString& nameContext);

// A name as the context's flags want it out: without types when typeless (0x04) is set.
QString output(const QString& name, uint32_t flags);

} // namespace nwclient::ndsnames
