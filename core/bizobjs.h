// The business objects of the application core, one header per concern: contracts,
// counterparties, payments, departments and bids.
#pragma once

#include "core/Client.h"
#include "core/Department.h"
#include "core/Hetong.h"
#include "core/Payment.h"
#include "core/Toubiao.h"
