#pragma once

#include <cstdint>

namespace nwproto {

// Directory services answer signed codes: negative values from the tree (-6xx) and from the
// client's own directory layer (-3xx). On the wire they travel as the same 32 bits.
using NWDSCCODE = int32_t;

namespace ndserr {
constexpr NWDSCCODE Success = 0;
constexpr NWDSCCODE NotEnoughMemory = -301;
constexpr NWDSCCODE BadKey = -302;
constexpr NWDSCCODE BadContext = -303;
constexpr NWDSCCODE BufferFull = -304;
constexpr NWDSCCODE BadSyntax = -306;
constexpr NWDSCCODE BufferEmpty = -307;
constexpr NWDSCCODE BadVerb = -308;
constexpr NWDSCCODE InvalidObjectName = -314;
constexpr NWDSCCODE InvalidHandle = -322;
constexpr NWDSCCODE BufferZeroLength = -323;
constexpr NWDSCCODE ContextCreation = -328;
constexpr NWDSCCODE NullPointer = -331;
constexpr NWDSCCODE NoConnection = -333;
constexpr NWDSCCODE NoSuchEntry = -601;
constexpr NWDSCCODE NoSuchValue = -602;
constexpr NWDSCCODE NoSuchAttribute = -603;
constexpr NWDSCCODE NoAccess = -672;
} // namespace ndserr

// The iteration handle that starts a listing and that marks its end.
constexpr int32_t kNoMoreIterations = -1;

// Entry flags of the object information.
namespace dsentry {
constexpr uint32_t Alias = 0x01;
constexpr uint32_t PartitionRoot = 0x02;
constexpr uint32_t Container = 0x04;
} // namespace dsentry

// Attribute syntaxes of the values a read answers.
namespace dssyntax {
constexpr uint32_t DistinguishedName = 1;
constexpr uint32_t CaseIgnoreString = 3;
constexpr uint32_t ClassName = 20;
} // namespace dssyntax

// Bindery completion codes beyond the common ones.
namespace bindery {
constexpr uint32_t NoSuchSegment = 0x89EC;
constexpr uint32_t NoSuchProperty = 0x89FB;
// Property flags: bit 1 set = a set of object ids, else an item; bit 0 = dynamic.
constexpr uint8_t PropertyDynamic = 0x01;
constexpr uint8_t PropertySet = 0x02;
constexpr int kSegmentSize = 128;
constexpr int kIdsPerSegment = 32;
} // namespace bindery

} // namespace nwproto
