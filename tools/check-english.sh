#!/bin/sh
# The English resources are plain ASCII (no code page can turn them into "?")
# and name every string, dialog, control, menu and command that the Chinese
# ones do, so no Chinese text is left to show on an English system.
# Usage: check-english.sh <Chinese .rc files> -- <English .rc files>
zh=""; en=""; side=zh
for f in "$@"; do
    if [ "$f" = "--" ]; then side=en; continue; fi
    if [ $side = zh ]; then zh="$zh $f"; else en="$en $f"; fi
done
status=0
if LC_ALL=C grep -n '[^ -~]' $en; then
    echo "non-ASCII text in the English resources"; status=1
fi
ids() {
    grep -hv -E ' (ICON|BITMAP|CURSOR|RT_MANIFEST) |^#include' "$@" |
        grep -oE '\b(IDS|IDD|IDR|ID|IDC|AFX_IDP)_[A-Z0-9_]+' | sort -u
}
english=$(mktemp)
ids $en >"$english"
missing=$(ids $zh | comm -23 - "$english")
rm -f "$english"
if [ -n "$missing" ]; then
    echo "not in the English resources:"; echo "$missing"; status=1
fi
exit $status
