# Sourced by the desktop check scripts: counts and prints each check's result.
passed=0
failed=0

report() {  # name status
  if [ "$2" -eq 0 ]; then
    echo "PASS $1"
    passed=$((passed + 1))
  else
    echo "FAIL $1"
    failed=$((failed + 1))
  fi
}
