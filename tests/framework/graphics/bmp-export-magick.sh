#!/usr/bin/env bash
# Has ImageMagick, on the host, read a BMP that a surface exported under Wine,
# and compares its pixels with the colours the surface holds.
set -euo pipefail
build=${1:?build folder}
cd "$build/bin"
rm -f surface-magick.bmp surface-magick.rgb
"$build/wine-run" ./SurfaceStore_test.exe --gtest_filter=SurfaceStore.WritesAnExportForImageMagick
convert surface-magick.bmp -depth 8 rgb:surface-magick.read
if cmp surface-magick.rgb surface-magick.read; then
  echo "ImageMagick reads the surface's colours"
  rm -f surface-magick.bmp surface-magick.rgb surface-magick.read
else
  echo "ImageMagick reads other pixels than the surface holds" >&2
  exit 1
fi
