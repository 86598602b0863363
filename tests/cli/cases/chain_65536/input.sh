# 65536 lines, each variable referring to the next one.
echo "y = a1+1"
for ((i = 1; i < 65535; i++)); do echo "a$i = a$((i + 1))+1"; done
echo "a65535 = 7"
