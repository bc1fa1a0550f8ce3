# The two commands: `make run` opens Corvalin, `make test` runs every test.
.PHONY: run test
run:
	./scripts/run-program.sh
test:
	./scripts/run-tests.sh
