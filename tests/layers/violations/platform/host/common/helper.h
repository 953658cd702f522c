#pragma once
// Fixture of the layer check: a helper that includes nothing of the host.
