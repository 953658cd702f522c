#pragma once
// The in-memory registry both backends answer from.
