#pragma once
#define IDI_QUORVANE 1
