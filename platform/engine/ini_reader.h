#pragma once
// GetPrivateProfileStringA over INI text, as Windows reads it.
