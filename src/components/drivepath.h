#pragma once

#include <QString>

// The path of a file on a substituted drive (subst) as a path on the drive's real target, so
// that a start-up entry keeps working after the substitution is gone. Other paths, and every
// path on systems without drive letters, come back unchanged.
QString resolveDrivePath(const QString &path);

// The step after asking Windows for the device target of path's drive: a substituted drive's
// target ends in a drive letter, a colon and a folder ("\??\C:\Work"); path then continues
// from that folder. An ordinary drive's target has no drive letter ("\Device\HarddiskVolume2")
// and path stays as it is.
QString pathOnDriveTarget(const QString &path, const QString &deviceTarget);
