#pragma once

// The register a resource of an activity comes from, end to end: the list
// the activity window opens for picking, the record line that list offers,
// the resource window that receives it and what engaging it changes.
enum class ResourceKind { Equipment, Vehicle, Association };
