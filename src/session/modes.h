#pragma once

#include <QObject>

// The mode each window is in, spelled as its mode code. Where a window can
// be in no mode yet (or left in one it does nothing with) the mode is Unset.
namespace modes {
Q_NAMESPACE

// The association, vehicle and equipment registry windows: insert, modify,
// delete and, for associations opened from their list, view.
enum class Registry { I, M, A, L };
Q_ENUM_NS(Registry)

// The vehicle and equipment lists: general, of one association, search by
// description, and general while an activity picks a resource.
enum class PairList { Unset, G, A, R, GA };
Q_ENUM_NS(PairList)

// The association list: viewing with the total, picking volunteers.
enum class AssociationList { Unset, IA, RA };
Q_ENUM_NS(AssociationList)

// The activity list: chronological, closed, cancelled, and choosing the
// activity to modify or to cancel.
enum class ActivityList { Unset, G, V, Z, M, A };
Q_ENUM_NS(ActivityList)

// The activity window: insert, modify, cancel, and away picking equipment,
// a vehicle or volunteers (then it goes back to the mode it came from).
enum class Activity { Unset, I, M, A, RT, RU, RA };
Q_ENUM_NS(Activity)

} // namespace modes
