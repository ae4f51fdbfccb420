// The business objects on the SQLite file.
#include "core/bizobjs.h"
#include "core/tests/CoreTestSupport.h"
#include "core/tests/ClientCases.h"
#include "core/tests/DepartmentCases.h"
#include "core/tests/HetongCases.h"
#include "core/tests/PaymentCases.h"

namespace {
class BizObjsJet : public CoreFixture {};
}  // namespace

HETONG_CASES(BizObjsJet)
CLIENT_CASES(BizObjsJet)
PAYMENT_CASES(BizObjsJet)
DEPARTMENT_CASES(BizObjsJet)
