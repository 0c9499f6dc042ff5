// Compiled only to make the shared precompiled headers (cmake/pch.cmake).
