#pragma once

#include "platform/nwclient/ndsops.h"

#include <QStringList>
#include <optional>
#include <vector>

// What the directory calls share inside the library: the context table and the buffer layout.
namespace nwclient::nds {

struct Context {
    uint32_t flags = 0;
    QString nameContext;
    QString tree;
};

std::optional<Context> context(NWDSContextHandle handle);

struct ListedObject {
    QString name; // relative name, typed
    TObjectInfo info;
};

struct ReadAttribute {
    QString name;
    uint32_t syntax = 0;
    QStringList values;
};

} // namespace nwclient::nds

namespace nwclient {

struct NdsBuffer {
    size_t size = 0;
    uint32_t operation = 0;
    QStringList attrNames;
    qsizetype requestBytes = 0;
    std::vector<nds::ListedObject> objects;
    std::vector<nds::ReadAttribute> attributes;
    size_t nextObject = 0;
    int attribute = -1; // the attribute NWDSGetAttrName gave last
    int nextValue = 0;

    void clearReply();
};

} // namespace nwclient
