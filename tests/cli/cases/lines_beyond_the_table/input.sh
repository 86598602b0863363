# 65536 lines and one byte more: refused before any is run.
yes "y = 1" | head -n 65536
printf z
